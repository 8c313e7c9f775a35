#include "TrackerConf.h"

#include <array>

#include <QFile>

#include "HostFiles.h"
#include "SetupRules.h"
#include "TrackerSettings.h"
#include "files/SafeSave.h"
#include "settings/ProfileFile.h"
#include "settings/ProfileText.h"

namespace {

const QString General = QStringLiteral("General");

const std::array<QString, 11> KnownKeys{
    QStringLiteral("callsign"), QStringLiteral("latitude"), QStringLiteral("longitude"),
    QStringLiteral("gpsd"),     QStringLiteral("kiss"),     QStringLiteral("aprs-is"),
    QStringLiteral("login"),    QStringLiteral("passcode"), QStringLiteral("range"),
    QStringLiteral("unit"),     QStringLiteral("expire")};

bool isKnown(const QString& key) {
    for (const QString& known : KnownKeys)
        if (known.compare(key, Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

// Every key line of the file ("name=value" outside comments), with its section.
QStringList unknownKeysIn(const QByteArray& content) {
    QStringList unknown;
    QString section;
    for (const QByteArray& raw : content.split('\n')) {
        const QString line = QString::fromLatin1(raw).trimmed();
        if (line.isEmpty() || line.startsWith(u';') || line.startsWith(u'#'))
            continue;
        if (line.startsWith(u'[') && line.contains(u']')) {
            section = line.mid(1, line.indexOf(u']') - 1).trimmed();
            continue;
        }
        const qsizetype equals = line.indexOf(u'=');
        if (equals <= 0)
            continue;
        const QString key = line.left(equals).trimmed();
        const bool inGeneral = section.compare(General, Qt::CaseInsensitive) == 0;
        // The map keeps its own keys in a section of its own (TrackerSettings.h).
        if (section.compare(trackerMapSection, Qt::CaseInsensitive) == 0 &&
            trackerMapKeys().contains(key, Qt::CaseInsensitive))
            continue;
        if (!inGeneral || !isKnown(key))
            unknown << (inGeneral ? key : section + u'/' + key);
    }
    return unknown;
}

QString numberText(double value) {
    return QString::number(value, 'g', 10);
}

// Each key's value as the file holds it for `conf`; empty: no key.
std::array<QString, 11> valuesOf(const TrackerConf& conf) {
    return {conf.callsign,
            conf.latitude ? numberText(*conf.latitude) : QString(),
            conf.longitude ? numberText(*conf.longitude) : QString(),
            conf.gpsd,
            conf.kiss,
            conf.aprsIs,
            conf.login,
            conf.passcode,
            QString::number(conf.rangeKm),
            conf.unit,
            numberText(conf.expireMinutes)};
}

} // namespace

ConfReading readTrackerConf(const QByteArray& content, const QString& fileName) {
    ConfReading reading;
    reading.unknownKeys = unknownKeysIn(content);
    TrackerConf& conf = reading.conf;
    const auto value = [&](const QString& key) {
        return profileValueIn(content, General, key, {});
    };
    const auto fault = [&](const QString& key, const QString& problem) {
        if (reading.fault.isEmpty())
            reading.fault = QStringLiteral("%1: key %2: %3").arg(fileName, key, problem);
    };
    const auto take = [&](const QString& key, const auto& check) {
        const QString text = value(key);
        if (text.isEmpty())
            return QString();
        if (const QString problem = check(text); !problem.isEmpty())
            fault(key, problem);
        return text;
    };

    conf.callsign = take(QStringLiteral("callsign"), setup::callsignProblem);
    for (const auto& [key, axis, field] :
         {std::tuple{QStringLiteral("latitude"), setup::Axis::Latitude, &conf.latitude},
          std::tuple{QStringLiteral("longitude"), setup::Axis::Longitude, &conf.longitude}}) {
        double degrees = 0.0;
        const QString text = value(key);
        if (text.isEmpty())
            continue;
        if (const QString problem = setup::coordinateProblem(text, axis, &degrees);
            !problem.isEmpty())
            fault(key, problem);
        else
            *field = degrees;
    }
    if (conf.latitude.has_value() != conf.longitude.has_value())
        fault(conf.latitude ? QStringLiteral("longitude") : QStringLiteral("latitude"),
              QStringLiteral("a position needs both latitude and longitude."));
    for (const auto& [key, port, field] :
         {std::tuple{QStringLiteral("gpsd"), TrackerConf::DefaultGpsdPort, &conf.gpsd},
          std::tuple{QStringLiteral("kiss"), TrackerConf::DefaultKissPort, &conf.kiss},
          std::tuple{QStringLiteral("aprs-is"), TrackerConf::DefaultAprsIsPort, &conf.aprsIs}}) {
        const QString text = value(key);
        if (text.isEmpty())
            continue;
        if (const QString problem = setup::addressProblem(text, port, field); !problem.isEmpty())
            fault(key, problem);
    }
    conf.login = take(QStringLiteral("login"), setup::loginProblem);
    conf.passcode = take(QStringLiteral("passcode"), setup::passcodeProblem);
    if (const QString range = value(QStringLiteral("range")); !range.isEmpty())
        if (const QString problem = setup::rangeProblem(range, &conf.rangeKm); !problem.isEmpty())
            fault(QStringLiteral("range"), problem);
    if (const QString unit = take(QStringLiteral("unit"), setup::unitProblem); !unit.isEmpty())
        conf.unit = unit;
    if (const QString expire = value(QStringLiteral("expire")); !expire.isEmpty())
        if (const QString problem = setup::expiryProblem(expire, &conf.expireMinutes);
            !problem.isEmpty())
            fault(QStringLiteral("expire"), problem);
    if (!conf.callsign.isEmpty() && conf.gpsd.isEmpty() && !conf.hasPosition())
        fault(QStringLiteral("latitude"),
              QStringLiteral("a fixed position needs latitude and longitude (or set gpsd)."));
    return reading;
}

ConfReading readTrackerConfFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return readTrackerConf({}, path);
    const std::optional<QByteArray> content = readProfileBytes(file);
    if (!content) {
        ConfReading reading;
        reading.fault = QStringLiteral("%1: cannot be read").arg(path);
        return reading;
    }
    return readTrackerConf(*content, path);
}

QByteArray withTrackerConf(const QByteArray& content, const TrackerConf& before,
                           const TrackerConf& after) {
    QByteArray text = content;
    if (text.trimmed().isEmpty())
        text = "[General]\n";
    const auto was = valuesOf(before);
    const auto now = valuesOf(after);
    for (size_t i = 0; i < KnownKeys.size(); ++i) {
        if (was[i] == now[i])
            continue;
        text = hostfiles::withProfileValue(text, General, KnownKeys[i],
                                           now[i].isEmpty() ? std::nullopt
                                                            : std::optional<QString>(now[i]));
    }
    return text;
}

bool saveTrackerConf(const QString& path, const std::function<void(TrackerConf&)>& change,
                     QString* error) {
    QByteArray content;
    if (QFile file(path); file.open(QIODevice::ReadOnly))
        content = readProfileBytes(file).value_or(QByteArray());
    ConfReading before = readTrackerConf(content, path);
    TrackerConf after = before.conf;
    change(after);
    if (!before.fault.isEmpty()) {
        // Values that cannot be compared: every key is written.
        before.conf = TrackerConf{};
        before.conf.rangeKm = -1;
        before.conf.unit = QStringLiteral("?");
        before.conf.expireMinutes = -1.0;
        before.conf.callsign = QStringLiteral("?");
    }
    const QByteArray updated = withTrackerConf(content, before.conf, after);
    if (updated == content && QFile::exists(path))
        return true;
    const QString folder = path.left(path.lastIndexOf(u'/'));
    if (!QDir().mkpath(folder) ||
        !saveReplacing(path, [&](QIODevice& device) { return writeAll(device, updated); })) {
        if (error)
            *error = QStringLiteral("cannot write %1").arg(path);
        return false;
    }
    return true;
}

QStringList confArguments(const TrackerConf& conf, const QStringList& given) {
    QStringList arguments;
    const auto take = [&](const QString& option, const QString& value) {
        if (!value.isEmpty() && !given.contains(option))
            arguments << QStringLiteral("--") + option << value;
    };
    take(QStringLiteral("gpsd"), conf.gpsd);
    take(QStringLiteral("kiss"), conf.kiss);
    take(QStringLiteral("aprs-is"), conf.aprsIs);
    take(QStringLiteral("range"), QString::number(conf.rangeKm));
    take(QStringLiteral("unit"), conf.unit);
    take(QStringLiteral("expire"), numberText(conf.expireMinutes));
    // A login alone would be refused; it belongs to the server, from either place.
    if (given.contains(QStringLiteral("aprs-is")) || !conf.aprsIs.isEmpty())
        take(QStringLiteral("login"), conf.effectiveLogin());
    QString own = conf.callsign;
    if (!own.isEmpty() && conf.hasPosition())
        own += u',' + numberText(*conf.latitude) + u',' + numberText(*conf.longitude);
    take(QStringLiteral("own"), own);
    return arguments;
}
