#include "FakeKestrelHost.h"

#include <algorithm>

class FakeKestrelMap final : public KestrelMap {
public:
    explicit FakeKestrelMap(FakeKestrelHost& host) : m_host(host) {}

    void setDrawWidth(qint32 width) override { m_host.enter("DrawWidth", {width}); }
    void setDrawStyle(qint16 style) override { m_host.enter("DrawStyle", {style}); }
    void setFillColor(qint32 colour) override { m_host.enter("FillColor", {colour}); }
    float ScaleHeight() override {
        m_host.enter("ScaleHeight", {});
        return m_host.scaleHeight;
    }
    qint16 PixelHeight() override {
        m_host.enter("PixelHeight", {});
        return m_host.pixelHeight;
    }
    void DrawCircle(float x, float y, float radius, qint32 colour, float startAngle,
                    double endAngle, float aspect) override {
        m_host.enter("DrawCircle", {double(x), double(y), double(radius), colour,
                                    double(startAngle), endAngle, double(aspect)});
    }

private:
    FakeKestrelHost& m_host;
    // With the host's block calls: the rings of a block after one scale, each recorded as
    // a single mark is.
    std::unique_ptr<StationRingsReply>
    drawStationRings(const std::vector<StationRing>& rings) override {
        if (!m_host.offerBlocks)
            return nullptr;
        auto reply = std::make_unique<StationRingsReply>();
        int drawn = 0;
        try {
            m_host.enter("DrawCircles", {int(rings.size())});
            const float scaleHeight = ScaleHeight();
            const std::optional<float> radius = stationRingRadius(scaleHeight, PixelHeight());
            if (!radius)
                throw HostError(QStringLiteral("fake map: no ring"), HostError::Kind::Refused);
            for (const StationRing& ring : rings) {
                setDrawWidth(3);
                setDrawStyle(2);
                setFillColor(16776960);
                DrawCircle(ring.x, ring.y, *radius, ring.colour, 0.0f, 6.283186, 1.0f);
                ++drawn;
            }
            reply->finish(-1);
        } catch (const HostError&) {
            reply->finish(drawn, std::current_exception());
        }
        return reply;
    }
};

FakeKestrelHost::FakeKestrelHost(QObject* parent)
    : KestrelHost(parent), m_map(std::make_unique<FakeKestrelMap>(*this)) {}

FakeKestrelHost::~FakeKestrelHost() = default;

int FakeKestrelHost::addStation(const QString& callsign, float distance, float longitude,
                                float latitude) {
    stations.push_back(FakeStation{QStringLiteral("#") + callsign + QStringLiteral(" more"),
                                   callsign, longitude, latitude, distance, true});
    return static_cast<int>(stations.size()) - 1;
}

void FakeKestrelHost::failOn(const QString& call, int afterCalls, int times, HostError::Kind kind) {
    m_failures[call] = Failure{afterCalls + m_callCounts[call], times, kind};
}

std::vector<RecordedCall> FakeKestrelHost::callsNamed(const QString& call) const {
    std::vector<RecordedCall> result;
    for (const RecordedCall& recorded : calls)
        if (recorded.call == call)
            result.push_back(recorded);
    return result;
}

void FakeKestrelHost::enter(const QString& call, QVariantList args) {
    const int count = ++m_callCounts[call];
    const auto failure = m_failures.find(call);
    const bool fails =
        failure != m_failures.end() && count > failure->second.afterCalls &&
        (failure->second.times < 0 || count <= failure->second.afterCalls + failure->second.times);
    if (recording || fails)
        calls.push_back(RecordedCall{call, std::move(args)});
    if (fails)
        throw HostError(QStringLiteral("fake host: %1 failed").arg(call), failure->second.kind);
}

KestrelMap* FakeKestrelHost::Map() {
    enter("Map", {});
    return m_map.get();
}

qint16 FakeKestrelHost::StationCount() {
    enter("StationCount", {});
    return qint16(stations.size());
}

QString FakeKestrelHost::entryAt(int index) const {
    return index >= 0 && index < int(stations.size()) ? stations[size_t(index)].entryText
                                                      : QString();
}

QString FakeKestrelHost::StationListItem(qint16 index) {
    enter("StationListItem", {index});
    return entryAt(index);
}

bool FakeKestrelHost::find(KestrelStation& station) {
    if (onGetStation)
        onGetStation(station.Callsign);
    const auto heard = [&](const FakeStation& s) {
        return s.callsign == station.Callsign && s.known;
    };
    const size_t at =
        m_indexed
            ? size_t(m_index.value(station.Callsign, int(stations.size())))
            : size_t(std::find_if(stations.begin(), stations.end(), heard) - stations.begin());
    if (at >= stations.size())
        return false;
    station.Longitude = stations[at].longitude;
    station.Latitude = stations[at].latitude;
    station.Distance = stations[at].distance;
    return true;
}

bool FakeKestrelHost::GetStation(KestrelStation& station) {
    enter("GetStation", {station.Callsign});
    return find(station);
}

std::optional<QStringList> FakeKestrelHost::StationListItems(qint16 first, qint16 count) {
    if (!offerBlocks)
        return std::nullopt;
    enter("StationListItems", {first, count});
    QStringList texts;
    const int end = std::min({first + count, first + blockEntryLimit, int(stations.size())});
    for (int i = first; i < end; ++i)
        texts << entryAt(i);
    return texts;
}

std::optional<std::vector<std::optional<KestrelStation>>>
FakeKestrelHost::GetStations(const QStringList& callsigns) {
    if (!offerBlocks)
        return std::nullopt;
    enter("GetStations", {callsigns});
    std::vector<std::optional<KestrelStation>> answers;
    for (const QString& callsign : callsigns) {
        KestrelStation station;
        station.Callsign = callsign;
        answers.push_back(find(station) ? std::optional(station) : std::nullopt);
    }
    return answers;
}

void FakeKestrelHost::buildIndex() {
    m_index.clear();
    for (int i = 0; i < static_cast<int>(stations.size()); ++i)
        if (stations[size_t(i)].known && !m_index.contains(stations[size_t(i)].callsign))
            m_index.insert(stations[size_t(i)].callsign, i);
    m_indexed = true;
}
