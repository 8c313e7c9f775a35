#include "alerts/SpeechQueue.h"

#include "alerts/AlarmSpeaker.h"

void SpeechQueue::add(const QList<ListedStation>& stations) {
    for (const ListedStation& station : stations) {
        // Once some are summed up, later ones join them: the order of arrival is kept.
        if (m_more.isEmpty() && m_singles.size() < kMaxSpokenSingly)
            m_singles.append(station);
        else
            m_more.append(station.callsign);
    }
}

void SpeechQueue::drop(const QSet<QString>& callsigns) {
    m_singles.removeIf([&callsigns](const ListedStation& station) {
        return callsigns.contains(station.callsign);
    });
    m_more.removeIf([&callsigns](const QString& callsign) { return callsigns.contains(callsign); });
}

void SpeechQueue::clear() {
    m_singles.clear();
    m_more.clear();
}

std::optional<QString> SpeechQueue::takeNext() {
    if (!m_singles.isEmpty())
        return spokenStation(m_singles.takeFirst());
    if (m_more.isEmpty())
        return std::nullopt;
    const QString text = moreText();
    m_more.clear();
    return text;
}

QStringList SpeechQueue::texts() const {
    QStringList texts;
    for (const ListedStation& station : m_singles)
        texts << spokenStation(station);
    if (!m_more.isEmpty())
        texts << moreText();
    return texts;
}

QString SpeechQueue::moreText() const {
    return QStringLiteral("and %1 more").arg(m_more.size());
}
