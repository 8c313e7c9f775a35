#include "settings/ProfileFile.h"

#include <QFile>

#include "files/SafeSave.h"
#include "settings/ProfileText.h"

namespace {

bool isBareFileName(const QString& file) {
    return !file.contains(QLatin1Char('/'));
}

// The content of file: empty when it does not exist, nothing when it exists but cannot be
// read whole (so that it is never written over with what little was read).
std::optional<QByteArray> readFileBytes(const QString& file) {
    QFile device(file);
    if (!device.exists())
        return QByteArray();
    if (!device.open(QIODevice::ReadOnly))
        return std::nullopt;
    return readProfileBytes(device);
}

} // namespace

std::optional<QByteArray> readProfileBytes(QIODevice& device, qint64 maxBytes) {
    QByteArray content;
    constexpr qint64 kChunk = 64 * 1024;
    while (true) {
        QByteArray chunk(kChunk, Qt::Uninitialized);
        const qint64 got = device.read(chunk.data(), kChunk);
        if (got < 0)
            return std::nullopt;
        if (got == 0)
            return content;
        if (content.size() + got > maxBytes)
            return std::nullopt;
        content.append(chunk.constData(), got);
    }
}

QString readProfileString(const QString& file, const QString& section, const QString& key,
                          const QString& defaultValue, int bufferSize) {
    std::optional<QByteArray> content;
    if (!isBareFileName(file))
        content = readFileBytes(file);
    return profileValueIn(content.value_or(QByteArray()), section, key, defaultValue, bufferSize);
}

bool writeProfileString(const QString& file, const QString& section, const QString& key,
                        const QString& value) {
    return writeProfileStrings(file, section, {{key, value}});
}

bool writeProfileStrings(const QString& file, const QString& section,
                         const QList<QPair<QString, QString>>& keysAndValues) {
    if (isBareFileName(file))
        return false;
    std::optional<QByteArray> content = readFileBytes(file);
    if (!content)
        return false;
    for (const auto& [key, value] : keysAndValues)
        *content = profileWithValue(*content, section, key, value);
    return saveReplacing(file, [&content](QIODevice& out) { return writeAll(out, *content); });
}
