#pragma once

#include <optional>

#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

#include "alerts/StationChanges.h"

// What the spoken alarm has still to say. A crowd arriving at once would talk for minutes
// after the operator has answered, so only a few stations wait to be spoken one by one;
// the rest are summed up at the end as "and 12 more". Stations the operator acknowledges
// are dropped before they are said.
class SpeechQueue final {
public:
    static constexpr int kMaxSpokenSingly = 3;

    void add(const QList<ListedStation>& stations);
    // Drops what waits for these callsigns, from the singles and from the "more".
    void drop(const QSet<QString>& callsigns);
    void clear();

    bool isEmpty() const { return m_singles.isEmpty() && m_more.isEmpty(); }
    // Takes the next text to say.
    std::optional<QString> takeNext();
    // The texts in the order they would be said.
    QStringList texts() const;

private:
    QString moreText() const;

    QList<ListedStation> m_singles;
    QStringList m_more; // callsigns summed up in "and N more"
};
