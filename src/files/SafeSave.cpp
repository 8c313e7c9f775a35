#include "files/SafeSave.h"

#include <QFile>
#include <QSaveFile>

bool saveReplacing(const QString& path, const std::function<bool(QIODevice&)>& write) {
    QSaveFile file(path);
    file.setDirectWriteFallback(true);
    // Unbuffered: a short write (disk full, file size limit) must reach write() as a
    // failure. Through the buffer it surfaces only at commit(), which does not report it and
    // would put a truncated file in place.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return false;
    if (!write(file) || file.error() != QFileDevice::NoError) {
        file.cancelWriting(); // the new file is thrown away; the old one stays
        return false;
    }
    return file.commit();
}

bool writeAll(QIODevice& device, const QByteArray& bytes) {
    qsizetype done = 0;
    while (done < bytes.size()) {
        const qint64 written = device.write(bytes.constData() + done, bytes.size() - done);
        if (written <= 0)
            return false;
        done += written;
    }
    return true;
}

bool copyReplacing(const QString& source, const QString& target) {
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly))
        return false;
    return saveReplacing(target, [&in](QIODevice& out) {
        constexpr qint64 kChunk = 64 * 1024;
        while (true) {
            const QByteArray chunk = in.read(kChunk);
            if (chunk.isEmpty())
                return in.error() == QFileDevice::NoError && in.atEnd();
            if (!writeAll(out, chunk))
                return false;
        }
    });
}
