#include "lists/ListFile.h"

#include <cctype>
#include <optional>

#include <QFile>
#include <QStringDecoder>

#include "files/SafeSave.h"
#include "lists/GetField.h"

namespace {

const QString kSeparator = QStringLiteral("|");
const QString kAcknowledged = QStringLiteral("Acknowledged");
const QString kWatched = QStringLiteral("Watched");
// A third field that says the entry is percent-encoded UTF-8 (see ListFile.h).
const QString kEncodedMark = QStringLiteral("%UTF8");

bool fitsVerbatim(const QString& entry) {
    for (const QChar c : entry) {
        if (c.unicode() > 0xFF || c == u'|' || c == u'\r')
            return false;
    }
    return true;
}

// The entry of an encoded line, or nothing when it is not one we wrote: a field with
// characters the encoding never leaves, a broken escape or bytes that are not UTF-8.
std::optional<QString> decodedEntry(const QString& field) {
    for (const QChar c : field) {
        if (c.unicode() < 0x21 || c.unicode() > 0x7E || c == u'|')
            return std::nullopt;
    }
    for (qsizetype i = field.indexOf(u'%'); i >= 0; i = field.indexOf(u'%', i + 1)) {
        if (i + 2 >= field.size() || !isxdigit(field.at(i + 1).unicode()) ||
            !isxdigit(field.at(i + 2).unicode()))
            return std::nullopt;
    }
    const QByteArray utf8 = QByteArray::fromPercentEncoding(field.toLatin1());
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString entry = decoder(utf8);
    if (decoder.hasError())
        return std::nullopt;
    return entry;
}

void addLine(LoadedLists& lists, const QByteArray& line) {
    const QString text = QString::fromLatin1(line);
    QString entry = GetField(0, kSeparator, text);
    if (text.count(u'|') == 2 && GetField(2, kSeparator, text) == kEncodedMark) {
        if (std::optional<QString> decoded = decodedEntry(entry))
            entry = std::move(*decoded);
    }
    if (GetField(1, kSeparator, text) == kAcknowledged)
        lists.acked.append(entry);
    else
        lists.watch.append(entry);
}

QByteArray listLine(const QString& entry, const QString& tag) {
    if (fitsVerbatim(entry))
        return (entry + kSeparator + tag).toLatin1() + "\r\n";
    return entry.toUtf8().toPercentEncoding() +
           (kSeparator + tag + kSeparator + kEncodedMark).toLatin1() + "\r\n";
}

} // namespace

LoadedLists readLists(QIODevice& device, qint64 maxBytes) {
    LoadedLists lists;
    QByteArray line;
    bool lineOpen = false; // bytes (or nothing yet) of a line that has not ended
    bool afterCr = false;  // the last byte seen ended a line with CR; an LF now belongs to it
    qint64 total = 0;
    constexpr qint64 kChunk = 64 * 1024;
    QByteArray chunk(kChunk, Qt::Uninitialized);

    while (true) {
        const qint64 got = device.read(chunk.data(), kChunk);
        if (got < 0) {
            lists.complete = false;
            return lists;
        }
        if (got == 0)
            break;
        total += got;
        if (total > maxBytes) {
            lists.complete = false;
            return lists;
        }
        for (qint64 i = 0; i < got; ++i) {
            const char c = chunk[i];
            if (afterCr) {
                afterCr = false;
                if (c == '\n')
                    continue;
            }
            if (c == '\r') {
                addLine(lists, line);
                line.clear();
                lineOpen = false;
                afterCr = true;
            } else {
                line.append(c);
                lineOpen = true;
            }
        }
    }
    if (lineOpen)
        addLine(lists, line);
    return lists;
}

LoadedLists LoadLists(const QString& path) {
    QFile file(path);
    if (!file.exists())
        return {};
    if (!file.open(QIODevice::ReadOnly))
        return {{}, {}, false};
    return readLists(file);
}

bool writeLists(QIODevice& device, const QStringList& acked, const QStringList& watch) {
    const auto writeLine = [&device](const QString& entry, const QString& tag) {
        return writeAll(device, listLine(entry, tag));
    };
    for (const QString& entry : acked) {
        if (!writeLine(entry, kAcknowledged))
            return false;
    }
    for (const QString& entry : watch) {
        if (!writeLine(entry, kWatched))
            return false;
    }
    return true;
}

bool SaveLists(const QString& path, const QStringList& acked, const QStringList& watch,
               bool keepBackupFirst) noexcept {
    try {
        if (keepBackupFirst && QFile::exists(path) && !copyReplacing(path, listBackupPath(path)))
            return false;
        return saveReplacing(path, [&](QIODevice& out) { return writeLists(out, acked, watch); });
    } catch (...) {
        return false;
    }
}
