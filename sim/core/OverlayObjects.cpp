#include "OverlayObjects.h"

#include <cmath>
#include <optional>

#include <QDir>
#include <QFile>
#include <QList>

namespace {

// "DDMM.hhN" (degreeDigits 2) or "DDDMM.hhE" (3) as signed decimal degrees.
std::optional<double> angle(const QByteArray& field, int degreeDigits, char positive,
                            char negative) {
    if (field.size() != degreeDigits + 6 || field[degreeDigits + 2] != '.')
        return std::nullopt;
    const char hemisphere = field.back();
    if (hemisphere != positive && hemisphere != negative)
        return std::nullopt;
    bool degreesOk = false;
    bool minutesOk = false;
    const int degrees = field.left(degreeDigits).toInt(&degreesOk);
    const double minutes = field.mid(degreeDigits, 5).toDouble(&minutesOk);
    if (!degreesOk || !minutesOk || degrees < 0 || minutes < 0.0 || minutes >= 60.0)
        return std::nullopt;
    const double value = degrees + minutes / 60.0;
    if (value > (degreeDigits == 2 ? 90.0 : 180.0))
        return std::nullopt;
    return hemisphere == positive ? value : -value;
}

} // namespace

namespace overlayobjects {

std::vector<OverlayObject> parse(const QByteArray& text) {
    QByteArray normalised = text;
    normalised.replace("\r\n", "\n").replace('\r', '\n');
    const QList<QByteArray> lines = normalised.split('\n');
    std::vector<OverlayObject> objects;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QByteArray& line = lines[i];
        const qsizetype bang = line.indexOf('!');
        if (line.contains('*') || bang < 1 || bang > 8)
            continue;
        // An object without a text takes the next line as its continuation, whatever it is.
        if (line.size() <= bang + 20)
            ++i;
        const auto lat = angle(line.mid(bang + 1, 8), 2, 'N', 'S');
        const auto lon = angle(line.mid(bang + 10, 9), 3, 'E', 'W');
        if (lat && lon)
            objects.push_back({QString::fromLatin1(line.left(bang)), *lat, *lon});
    }
    return objects;
}

std::vector<OverlayObject> readFolder(const QString& folder) {
    std::vector<OverlayObject> objects;
    const QDir dir(folder);
    const QStringList names =
        dir.entryList({QStringLiteral("*.pos")}, QDir::Files | QDir::Readable, QDir::Name);
    for (const QString& name : names) {
        QFile file(dir.filePath(name));
        if (!file.open(QIODevice::ReadOnly))
            continue;
        const std::vector<OverlayObject> some = parse(file.read(1 << 20));
        objects.insert(objects.end(), some.begin(), some.end());
    }
    return objects;
}

} // namespace overlayobjects
