#pragma once

#include <deque>
#include <optional>
#include <utility>

#include <QStringList>

class RadioFeed;
class StationStore;

// Lines an APRS-IS server sent over the last minute, from samples of its running count.
class LineRate final {
public:
    void sample(quint64 total, qint64 nowMs);
    // Lines a minute; none before two samples a few seconds apart.
    std::optional<int> perMinute() const;

private:
    std::deque<std::pair<qint64, quint64>> m_samples;
};

// The status bar's parts in words, one a link: "APRS-IS: connected to HOST (N lines a
// minute)", "TNC: connected", the GPS, and the own position while it is not known.
// Lines the APRS-IS link has received so far (0 without one), for LineRate.
quint64 aprsIsLines(const RadioFeed* feed);
QStringList statusWords(const RadioFeed* feed, const StationStore& store, const LineRate& rate);
