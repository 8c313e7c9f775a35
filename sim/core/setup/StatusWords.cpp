#include "StatusWords.h"

#include <optional>

#include "StationStore.h"
#include "feed/RadioFeed.h"

namespace {

// "APRS-IS host:port: retrying in 4 s (Connection refused)" -> "retrying in 4 s (...)".
QString detailOf(const feed::FeedLink& link) {
    const QString text = link.stateText();
    const qsizetype colon = text.indexOf(QStringLiteral(": "));
    return colon < 0 ? text : text.mid(colon + 2);
}

QString hostOf(const feed::FeedLink& link) {
    const QString text = link.stateText();
    const qsizetype blank = text.indexOf(QLatin1Char(' '));
    const qsizetype colon = text.indexOf(QStringLiteral(": "));
    if (blank < 0 || colon < blank)
        return {};
    const QString address = text.mid(blank + 1, colon - blank - 1);
    return address.left(address.lastIndexOf(QLatin1Char(':')));
}

quint64 linesOf(const feed::FeedCounters& counters) {
    return counters.decoded + counters.rejected() + counters.serverLines;
}

} // namespace

void LineRate::sample(quint64 total, qint64 nowMs) {
    if (!m_samples.empty() && total < m_samples.back().second)
        m_samples.clear(); // a new link counts from 0
    m_samples.emplace_back(nowMs, total);
    while (m_samples.size() > 2 && nowMs - m_samples[1].first >= 60000)
        m_samples.pop_front();
}

std::optional<int> LineRate::perMinute() const {
    if (m_samples.size() < 2)
        return std::nullopt;
    const qint64 ms = m_samples.back().first - m_samples.front().first;
    if (ms < 5000)
        return std::nullopt;
    const double lines = double(m_samples.back().second - m_samples.front().second);
    return int(lines * 60000.0 / double(ms) + 0.5);
}

QStringList statusWords(const RadioFeed* feed, const StationStore& store, const LineRate& rate) {
    QStringList parts;
    if (store.hasOwn() && !store.ownPlaced())
        parts << QStringLiteral("Own position not known yet: no distances");
    if (!feed)
        return parts;
    using State = feed::FeedLink::State;
    if (const feed::AprsIsClient* link = feed->aprsIs()) {
        const QString host = hostOf(*link);
        if (link->state() == State::Connected) {
            const std::optional<int> perMinute = rate.perMinute();
            parts << (perMinute ? QStringLiteral("APRS-IS: connected to %1 (%2 lines a minute)")
                                      .arg(host)
                                      .arg(*perMinute)
                                : QStringLiteral("APRS-IS: connected to %1").arg(host));
        } else if (link->state() == State::Connecting) {
            parts << QStringLiteral("APRS-IS: connecting to %1").arg(host);
        } else {
            parts << QStringLiteral("APRS-IS: not connected to %1, %2").arg(host, detailOf(*link));
        }
    }
    if (const feed::KissTcpClient* link = feed->kiss()) {
        if (link->state() == State::Connected)
            parts << QStringLiteral("TNC: connected");
        else if (link->state() == State::Connecting)
            parts << QStringLiteral("TNC: connecting to %1").arg(hostOf(*link));
        else
            parts << QStringLiteral("TNC: not connected, %1").arg(detailOf(*link));
    }
    if (const GpsOwnStation* gps = feed->gps())
        parts << gps->statusText();
    if (const feed::ReplaySource* replay = feed->replay())
        parts << replay->replayText();
    return parts;
}

quint64 aprsIsLines(const RadioFeed* feed) {
    return feed && feed->aprsIs() ? linesOf(feed->aprsIs()->counters()) : 0;
}
