#include "Scenario.h"

#include <cmath>

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>
#include <QSet>

#include "feed/AprsText.h"
#include "feed/LineReader.h"

namespace {

class Reader {
public:
    explicit Reader(const QString& fileName) : m_fileName(fileName) {}

    [[noreturn]] void fail(const QString& where, const QString& fault) const {
        const QString place = where.isEmpty() ? QString() : where + QStringLiteral(": ");
        throw ScenarioError(QStringLiteral("scenario %1: %2%3").arg(m_fileName, place, fault));
    }

    double number(const QJsonObject& object, const QString& key, const QString& where) const {
        const QJsonValue value = object.value(key);
        if (value.isUndefined())
            fail(where, QStringLiteral("missing \"%1\"").arg(key));
        if (!value.isDouble())
            fail(where, QStringLiteral("\"%1\" is not a number").arg(key));
        return value.toDouble();
    }

    double latitude(const QJsonObject& object, const QString& key, const QString& where) const {
        const double lat = number(object, key, where);
        if (!(lat >= -90.0 && lat <= 90.0))
            fail(where, QStringLiteral("\"%1\" %2 is outside -90..90").arg(key).arg(lat));
        return lat;
    }

    double longitude(const QJsonObject& object, const QString& key, const QString& where) const {
        const double lon = number(object, key, where);
        if (!(lon >= -180.0 && lon <= 180.0))
            fail(where, QStringLiteral("\"%1\" %2 is outside -180..180").arg(key).arg(lon));
        return lon;
    }

    double seconds(const QJsonObject& object, const QString& key, const QString& where) const {
        const double value = number(object, key, where);
        if (value < 0.0)
            fail(where, QStringLiteral("\"%1\" %2 is negative").arg(key).arg(value));
        return value;
    }

    QString text(const QJsonObject& object, const QString& key, const QString& where,
                 bool required) const {
        const QJsonValue value = object.value(key);
        if (value.isUndefined()) {
            if (required)
                fail(where, QStringLiteral("missing \"%1\"").arg(key));
            return {};
        }
        if (!value.isString())
            fail(where, QStringLiteral("\"%1\" is not a text").arg(key));
        return value.toString();
    }

    // The names the radio feeds take, refused in the feeds' words: a name a feed would never
    // hand on (a "|", a blank, a character outside ASCII) must not reach the list this way.
    QString callsign(const QJsonObject& object, const QString& where, bool required) const {
        const QString call = text(object, QStringLiteral("callsign"), where, required);
        if (call.isEmpty()) {
            if (required)
                fail(where, QStringLiteral("\"callsign\" is empty"));
            return call;
        }
        if (!feed::isStorableName(call))
            fail(where, feed::unusableNameText(call));
        return call;
    }

    QJsonObject object(const QJsonValue& value, const QString& where) const {
        if (!value.isObject())
            fail(where, QStringLiteral("is not an object"));
        return value.toObject();
    }

private:
    QString m_fileName;
};

ScenarioStation readStation(const Reader& reader, const QJsonObject& object, const QString& where) {
    ScenarioStation station;
    station.callsign = reader.callsign(object, where, true);
    const QString named = QStringLiteral("%1 (%2)").arg(where, station.callsign);
    station.lat = reader.latitude(object, QStringLiteral("lat"), named);
    station.lon = reader.longitude(object, QStringLiteral("lon"), named);
    station.comment = reader.text(object, QStringLiteral("comment"), named, false);
    if (object.contains(QStringLiteral("star"))) {
        if (!object.value(QStringLiteral("star")).isBool())
            reader.fail(named, QStringLiteral("\"star\" is not true or false"));
        station.star = object.value(QStringLiteral("star")).toBool();
    }
    if (object.contains(QStringLiteral("appear")))
        station.appear = reader.seconds(object, QStringLiteral("appear"), named);
    if (object.contains(QStringLiteral("vanish"))) {
        station.vanish = reader.seconds(object, QStringLiteral("vanish"), named);
        if (*station.vanish <= station.appear)
            reader.fail(named, QStringLiteral("\"vanish\" %1 is not after \"appear\" %2")
                                   .arg(*station.vanish)
                                   .arg(station.appear));
    }
    const QJsonValue track = object.value(QStringLiteral("track"));
    if (!track.isUndefined()) {
        if (!track.isArray())
            reader.fail(named, QStringLiteral("\"track\" is not a list"));
        const QJsonArray points = track.toArray();
        for (qsizetype i = 0; i < points.size(); ++i) {
            const QString at = QStringLiteral("%1 track point %2").arg(named).arg(i + 1);
            const QJsonObject point = reader.object(points.at(i), at);
            TrackPoint p;
            p.t = reader.seconds(point, QStringLiteral("t"), at);
            p.lat = reader.latitude(point, QStringLiteral("lat"), at);
            p.lon = reader.longitude(point, QStringLiteral("lon"), at);
            if (!station.track.empty() && p.t <= station.track.back().t)
                reader.fail(at, QStringLiteral("\"t\" %1 is not after %2 of the point before")
                                    .arg(p.t)
                                    .arg(station.track.back().t));
            station.track.push_back(p);
        }
    }
    return station;
}

OverlayFile readOverlay(const Reader& reader, const QString& name, const QJsonValue& value) {
    const QString where = QStringLiteral("overlay \"%1\"").arg(name);
    if (name.isEmpty() || name.contains(QLatin1Char('/')) || name.contains(QLatin1Char('\\')) ||
        name == QLatin1String(".") || name == QLatin1String(".."))
        reader.fail(where, QStringLiteral("is not a plain file name"));
    if (!value.isArray())
        reader.fail(where, QStringLiteral("is not a list of lines"));
    OverlayFile file{name, {}};
    const QJsonArray lines = value.toArray();
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (!lines.at(i).isString())
            reader.fail(where, QStringLiteral("line %1 is not a text").arg(i + 1));
        const QString line = lines.at(i).toString();
        for (const QChar c : line) {
            if (c.unicode() > 0xff)
                reader.fail(where,
                            QStringLiteral("line %1 has a character outside Latin-1").arg(i + 1));
            if (c == QLatin1Char('\r') || c == QLatin1Char('\n'))
                reader.fail(where, QStringLiteral("line %1 contains a line break").arg(i + 1));
        }
        // An overlay line is read as a feed's line is: no longer than an APRS-IS line.
        if (line.size() > feed::MaxFeedLine)
            reader.fail(where, QStringLiteral("line %1 is longer than %2 characters")
                                   .arg(i + 1)
                                   .arg(feed::MaxFeedLine));
        file.lines << line;
    }
    return file;
}

} // namespace

Scenario parseScenario(const QByteArray& json, const QString& fileName) {
    const Reader reader(fileName);
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(json, &error);
    if (error.error != QJsonParseError::NoError)
        reader.fail({}, QStringLiteral("not valid JSON (%1 at byte %2)")
                            .arg(error.errorString())
                            .arg(error.offset));
    if (!document.isObject())
        reader.fail({}, QStringLiteral("the top level is not an object"));
    const QJsonObject top = document.object();

    Scenario scenario;
    if (top.contains(QStringLiteral("unit"))) {
        const QString unit = reader.text(top, QStringLiteral("unit"), {}, true);
        if (!geo::parseUnit(unit, scenario.unit))
            reader.fail(
                {}, QStringLiteral("\"unit\" \"%1\" is not \"km\", \"mi\" or \"nm\"").arg(unit));
    }

    if (top.contains(QStringLiteral("own"))) {
        const QString where = QStringLiteral("own");
        const QJsonObject own = reader.object(top.value(QStringLiteral("own")), where);
        scenario.ownCallsign = reader.callsign(own, where, false);
        scenario.ownLat = reader.latitude(own, QStringLiteral("lat"), where);
        scenario.ownLon = reader.longitude(own, QStringLiteral("lon"), where);
        scenario.ownComment = reader.text(own, QStringLiteral("comment"), where, false);
    }

    QSet<QString> seen;
    if (!scenario.ownCallsign.isEmpty())
        seen.insert(scenario.ownCallsign);
    const QJsonValue stations = top.value(QStringLiteral("stations"));
    if (!stations.isUndefined()) {
        if (!stations.isArray())
            reader.fail({}, QStringLiteral("\"stations\" is not a list"));
        const QJsonArray list = stations.toArray();
        for (qsizetype i = 0; i < list.size(); ++i) {
            const QString where = QStringLiteral("station %1").arg(i + 1);
            ScenarioStation station = readStation(reader, reader.object(list.at(i), where), where);
            if (seen.contains(station.callsign))
                reader.fail(where,
                            QStringLiteral("callsign \"%1\" appears twice").arg(station.callsign));
            seen.insert(station.callsign);
            scenario.stations.push_back(std::move(station));
        }
    }

    const QJsonValue deleteAll = top.value(QStringLiteral("deleteAll"));
    if (!deleteAll.isUndefined()) {
        if (!deleteAll.isArray())
            reader.fail({}, QStringLiteral("\"deleteAll\" is not a list of seconds"));
        for (const QJsonValue& value : deleteAll.toArray()) {
            if (!value.isDouble() || value.toDouble() < 0.0)
                reader.fail({}, QStringLiteral("\"deleteAll\" holds something other than "
                                               "seconds from start"));
            if (!scenario.deleteAll.empty() && value.toDouble() <= scenario.deleteAll.back())
                reader.fail({}, QStringLiteral("\"deleteAll\" is not in time order"));
            scenario.deleteAll.push_back(value.toDouble());
        }
    }

    const QJsonValue overlays = top.value(QStringLiteral("overlays"));
    if (!overlays.isUndefined()) {
        if (!overlays.isObject())
            reader.fail({}, QStringLiteral("\"overlays\" is not an object of files"));
        const QJsonObject files = overlays.toObject();
        for (auto it = files.begin(); it != files.end(); ++it)
            scenario.overlays.push_back(readOverlay(reader, it.key(), it.value()));
    }
    return scenario;
}

Scenario readScenarioFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw ScenarioError(
            QStringLiteral("scenario %1: cannot be read (%2)").arg(path, file.errorString()));
    return parseScenario(file.readAll(), path);
}

TrackPoint positionAt(const ScenarioStation& station, double t) {
    const auto& track = station.track;
    if (track.empty() || t < track.front().t)
        return TrackPoint{t, station.lat, station.lon};
    if (t >= track.back().t)
        return TrackPoint{t, track.back().lat, track.back().lon};
    for (size_t i = 1; i < track.size(); ++i) {
        if (t < track[i].t) {
            const TrackPoint& a = track[i - 1];
            const TrackPoint& b = track[i];
            const double f = (t - a.t) / (b.t - a.t);
            return TrackPoint{t, a.lat + (b.lat - a.lat) * f, a.lon + (b.lon - a.lon) * f};
        }
    }
    return TrackPoint{t, track.back().lat, track.back().lon};
}
