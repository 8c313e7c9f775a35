#include "alerts/AlarmSpeaker.h"

#include <QStringList>

QString spokenStation(const ListedStation& station) {
    QStringList letters;
    for (const QChar c : station.callsign) {
        if (c.isLetterOrNumber() || (c.isPunct() && c != QLatin1Char('|')))
            letters << QString(c);
    }
    QString text = letters.join(QLatin1Char(' '));
    if (!station.distanceText.isEmpty())
        text += QStringLiteral(", ") + station.distanceText;
    return text;
}
