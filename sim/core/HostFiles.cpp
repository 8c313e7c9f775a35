#include "HostFiles.h"

#include <QDir>
#include <QList>
#include <QSaveFile>
#include <QSettings>

#include "settings/ProfileFile.h"

namespace {

void saveFile(const QString& path, const QByteArray& bytes) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        throw HostFileError(QStringLiteral("cannot write %1 (%2)").arg(path, file.errorString()));
}

QString sectionName(const QByteArray& line) {
    const QByteArray trimmed = line.trimmed();
    if (trimmed.size() < 2 || !trimmed.startsWith('[') || !trimmed.endsWith(']'))
        return {};
    return QString::fromLatin1(trimmed.mid(1, trimmed.size() - 2)).trimmed();
}

QString keyName(const QByteArray& line) {
    const qsizetype eq = line.indexOf('=');
    if (eq < 0)
        return {};
    return QString::fromLatin1(line.left(eq)).trimmed();
}

} // namespace

namespace hostfiles {

QByteArray withProfileValue(const QByteArray& content, const QString& section, const QString& key,
                            const std::optional<QString>& value) {
    // Split keeping each line's own end, so untouched lines go back byte for byte.
    QList<QByteArray> lines;
    qsizetype start = 0;
    while (start < content.size()) {
        const qsizetype nl = content.indexOf('\n', start);
        const qsizetype end = nl < 0 ? content.size() : nl + 1;
        lines << content.mid(start, end - start);
        start = end;
    }
    const QByteArray eol = content.contains("\r\n") || content.isEmpty() ? "\r\n" : "\n";
    const auto body = [](const QByteArray& line) {
        QByteArray text = line;
        while (text.endsWith('\n') || text.endsWith('\r'))
            text.chop(1);
        return text;
    };
    const QByteArray newLine =
        value ? key.toLatin1() + '=' + value->toLatin1() + eol : QByteArray();

    qsizetype sectionAt = -1;
    qsizetype insertAt = -1;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QByteArray text = body(lines[i]);
        const QString name = sectionName(text);
        if (!name.isEmpty()) {
            if (sectionAt >= 0)
                break;
            if (name.compare(section, Qt::CaseInsensitive) == 0)
                sectionAt = insertAt = i;
            continue;
        }
        if (sectionAt < 0)
            continue;
        if (keyName(text).compare(key, Qt::CaseInsensitive) == 0 && text.contains('=')) {
            if (value)
                lines[i] = newLine;
            else
                lines.removeAt(i);
            return lines.join();
        }
        if (!text.trimmed().isEmpty())
            insertAt = i;
    }
    if (!value)
        return content;
    if (!lines.isEmpty() && !lines.last().endsWith('\n'))
        lines.last() += eol;
    if (sectionAt < 0) {
        lines << '[' + section.toLatin1() + ']' + eol << newLine;
    } else {
        lines.insert(insertAt + 1, newLine);
    }
    return lines.join();
}

void writeHostIni(const QString& folder, const QString& callsign) {
    const QString path = folder + QStringLiteral("/kestrel32.ini");
    if (!callsign.isEmpty()) {
        // The same profile writer that Ringwarden's settings use: whatever it writes, the
        // reader on the other side reads back.
        if (!writeProfileString(path, QStringLiteral("STATION"), QStringLiteral("CALLSIGN"),
                                callsign))
            throw HostFileError(QStringLiteral("cannot write %1").arg(path));
        return;
    }
    // No own station: no callsign either, not even a stale one from an earlier scene.
    QFile existing(path);
    if (!existing.exists())
        return;
    if (!existing.open(QIODevice::ReadOnly))
        throw HostFileError(
            QStringLiteral("cannot read %1 (%2)").arg(path, existing.errorString()));
    const QByteArray content = existing.readAll();
    const QByteArray updated = withProfileValue(content, QStringLiteral("STATION"),
                                                QStringLiteral("CALLSIGN"), std::nullopt);
    if (updated != content)
        saveFile(path, updated);
}

void recordProgramFolder(const QString& folder) {
    QSettings settings(QStringLiteral("Brightmoor"), QStringLiteral("Kestrel32"));
    settings.setValue(QStringLiteral("Program Folder"), folder + QLatin1Char('/'));
    settings.sync();
    if (settings.status() != QSettings::NoError)
        throw HostFileError(
            QStringLiteral("cannot record the program folder in %1").arg(settings.fileName()));
}

void writeOverlays(const QString& folder, const std::vector<OverlayFile>& overlays) {
    const QString dir = folder + QStringLiteral("/overlays");
    if (!QDir().mkpath(dir))
        throw HostFileError(QStringLiteral("cannot create the folder %1").arg(dir));
    for (const OverlayFile& overlay : overlays) {
        QByteArray bytes;
        for (const QString& line : overlay.lines)
            bytes += line.toLatin1() + "\r\n";
        saveFile(dir + QLatin1Char('/') + overlay.name, bytes);
    }
}

} // namespace hostfiles
