#include "StationDetails.h"

#include "Compass.h"
#include "StationLog.h"
#include "StationStore.h"
#include "StationTableModel.h"

namespace details {

QString escapeControls(const QString& text) {
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u == '\r')
            out += QStringLiteral("\\r");
        else if (u == '\n')
            out += QStringLiteral("\\n");
        else if (u == '\t')
            out += QStringLiteral("\\t");
        else if (u == '\\')
            out += QStringLiteral("\\\\");
        else if (u < 0x20 || u == 0x7f || (u >= 0x80 && u < 0xa0))
            out += QStringLiteral("\\x") +
                   QString::number(uint(u), 16).rightJustified(2, QLatin1Char('0')).toUpper();
        else
            out += c;
    }
    return out;
}

std::vector<Field> describe(const StationStore& store, const StationLog& log,
                            const QString& callsign, qint64 nowMs) {
    std::vector<Field> fields;
    const HeardStation* station = store.find(callsign);
    if (!station)
        return fields;
    const HeardStation& own = store.own();
    const double bearing = compass::bearingDegrees(own.lat, own.lon, station->lat, station->lon);
    const auto add = [&](const char* label, const QString& value) {
        fields.push_back({QString::fromLatin1(label), value});
    };
    add("Callsign", station->callsign);
    add("Position", QStringLiteral("%1 %2").arg(QString::number(station->lat, 'f', 5),
                                                QString::number(station->lon, 'f', 5)));
    add("Distance", QStringLiteral("%1 %2").arg(
                        QString::number(store.distanceFromOwn(station->lat, station->lon), 'f', 1),
                        geo::unitName(store.unit())));
    add("Bearing",
        QStringLiteral("%1° %2").arg(QString::number(bearing, 'f', 0), compass::point(bearing)));
    const StationRecord* record = log.find(callsign);
    if (record) {
        add("Last heard",
            StationTableModel::ageText(nowMs - record->heardMs) + QStringLiteral(" ago"));
        add("Heard via", heardViaText(record->via));
    }
    if (const auto motion = motionOf(record, station->comment)) {
        add("Course", QStringLiteral("%1°").arg(QString::number(motion->first, 'f', 0)));
        add("Speed", QStringLiteral("%1 km/h").arg(QString::number(motion->second, 'f', 0)));
    }
    add("Comment", escapeControls(station->comment));
    if (record) {
        if (!record->path.isEmpty())
            add("Path", escapeControls(record->path));
        if (!record->packet.isEmpty())
            add("Last packet", escapeControls(record->packet));
        QStringList positions;
        // Newest first, as an operator reads a log.
        for (auto p = record->trail.rbegin(); p != record->trail.rend(); ++p)
            positions << QStringLiteral("%1 %2 (%3 ago)")
                             .arg(QString::number(p->lat, 'f', 5), QString::number(p->lon, 'f', 5),
                                  StationTableModel::ageText(nowMs - p->ms));
        add("Last positions", positions.join(QLatin1Char('\n')));
    }
    return fields;
}

} // namespace details
