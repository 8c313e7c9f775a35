#include "feed/RadioFeed.h"

#include <algorithm>

#include "Geo.h"
#include "HostCore.h"

namespace {
// Expiry needs no finer grain than the operator's minutes.
constexpr int ExpiryTickMs = 10000;
} // namespace

RadioFeed::RadioFeed(const feed::FeedOptions& options, HostCore& core, QObject* parent)
    : QObject(parent), m_options(options), m_core(core),
      m_stations(core.store(), options.expireMinutes) {
    auto watch = [this](feed::FeedLink* link, HeardVia via) {
        // The frame comes just before the report decoded from it.
        connect(link, &feed::FeedLink::packetReceived, this,
                [this](const feed::Ax25Frame& frame) { m_lastFrame = frame; });
        connect(link, &feed::FeedLink::reportReceived, this,
                [this, via](const feed::PositionReport& report) { onReport(report, via); });
        connect(link, &feed::FeedLink::stateChanged, this,
                [this] { emit statusChanged(statusText()); });
    };
    if (options.kissPort != 0) {
        m_kiss = std::make_unique<feed::KissTcpClient>();
        watch(m_kiss.get(), HeardVia::Rf);
    }
    if (options.aprsIsPort != 0) {
        m_aprsIs = std::make_unique<feed::AprsIsClient>();
        watch(m_aprsIs.get(), HeardVia::AprsIs);
    }
    if (options.gpsdPort != 0) {
        m_gps = std::make_unique<GpsOwnStation>(core);
        connect(m_gps.get(), &GpsOwnStation::statusChanged, this,
                [this] { emit statusChanged(statusText()); });
        connect(m_gps.get(), &GpsOwnStation::moved, this, &RadioFeed::followOwnStation);
    }
    if (!options.replayFile.isEmpty()) {
        m_replay = std::make_unique<feed::ReplaySource>();
        watch(m_replay.get(), HeardVia::Replay);
        connect(m_replay.get(), &feed::ReplaySource::replayFinished, this,
                [this] { emit statusChanged(statusText()); });
    }
    m_expiry.setInterval(
        std::clamp(static_cast<int>(options.expireMinutes * 60000.0 / 6.0), 100, ExpiryTickMs));
    connect(&m_expiry, &QTimer::timeout, this, &RadioFeed::onExpiryTick);
}

RadioFeed::~RadioFeed() = default;

bool RadioFeed::start(QString* error) {
    if (m_aprsIs) {
        if (!m_aprsIs->setLogin(m_options.login)) {
            *error = QStringLiteral("unusable APRS-IS login '%1'").arg(m_options.login);
            return false;
        }
        m_aprsIs->setPasscode(m_options.passcode);
        QString filter = m_options.filter;
        const StationStore& store = m_core.store();
        // With the position still to come from the GPS, the filter waits for the first fix.
        const bool ownPlaced = store.hasOwn() && (!m_options.own || m_options.own->hasPosition);
        if (filter.isEmpty() && ownPlaced) {
            m_filterCentre = std::pair(store.own().lat, store.own().lon);
            filter = feed::AprsIsClient::rangeFilter(store.own().lat, store.own().lon,
                                                     m_options.rangeKm);
        }
        if (!m_aprsIs->setFilter(filter)) {
            *error = QStringLiteral("unusable APRS-IS filter '%1'").arg(filter);
            return false;
        }
        m_aprsIs->start(m_options.aprsIsHost, m_options.aprsIsPort);
    }
    if (m_kiss)
        m_kiss->start(m_options.kissHost, m_options.kissPort);
    if (m_gps)
        m_gps->start(m_options.gpsdHost, m_options.gpsdPort);
    if (m_replay && !m_replay->play(m_options.replayFile, m_options.replayRate, error))
        return false;
    m_expiry.start();
    emit statusChanged(statusText());
    return true;
}

void RadioFeed::stop() {
    m_expiry.stop();
    if (m_kiss)
        m_kiss->stop();
    if (m_aprsIs)
        m_aprsIs->stop();
    if (m_gps)
        m_gps->stop();
    if (m_replay)
        m_replay->stop();
}

QString RadioFeed::statusText() const {
    QStringList parts;
    if (m_kiss)
        parts << m_kiss->stateText();
    if (m_aprsIs) {
        parts << m_aprsIs->stateText();
        if (!m_aprsIs->filter().isEmpty())
            parts.last() += QStringLiteral(", filter ") + m_aprsIs->filter();
    }
    if (m_gps)
        parts << m_gps->statusText();
    if (m_replay)
        parts << m_replay->replayText();
    return parts.join(QStringLiteral("; "));
}

void RadioFeed::onReport(const feed::PositionReport& report, HeardVia via) {
    QStringList path;
    for (const feed::Ax25Address& digi : m_lastFrame.path)
        path << digi.text() + (digi.repeated ? QStringLiteral("*") : QString());
    const QString packet =
        m_lastFrame.source.text() + QLatin1Char('>') + m_lastFrame.destination.text() +
        (path.isEmpty() ? QString() : QLatin1Char(',') + path.join(QLatin1Char(','))) +
        QLatin1Char(':') + QString::fromLatin1(m_lastFrame.info);
    const auto motion = aprs::courseSpeed(report.comment);
    m_core.log().setPacket(report.name, path.join(QLatin1Char(',')), packet,
                           motion ? std::optional(motion->first) : std::nullopt,
                           motion ? std::optional(motion->second) : std::nullopt);
    m_core.publish(m_stations.hear(report, m_core.nowMs()), via);
}

void RadioFeed::onExpiryTick() {
    m_core.publish(m_stations.expire(m_core.nowMs()));
}

void RadioFeed::followOwnStation(double latitude, double longitude) {
    if (!m_aprsIs || !m_options.filter.isEmpty())
        return;
    // A fifth of the range keeps the operator well inside the filter without asking the
    // server for a new one at every fix.
    if (m_filterCentre && geo::greatCircleKm(m_filterCentre->first, m_filterCentre->second,
                                             latitude, longitude) <= m_options.rangeKm / 5.0)
        return;
    m_filterCentre = std::pair(latitude, longitude);
    m_aprsIs->changeFilter(feed::AprsIsClient::rangeFilter(latitude, longitude, m_options.rangeKm));
    emit statusChanged(statusText());
}
