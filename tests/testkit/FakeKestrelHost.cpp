#include "FakeKestrelHost.h"

#include <algorithm>
#include <iterator>

class FakeKestrelMap final : public KestrelMap {
public:
    explicit FakeKestrelMap(FakeKestrelHost& host) : m_host(host) {}

    void setDrawWidth(qint32 width) override {
        m_host.record(QStringLiteral("DrawWidth"), {width});
    }
    void setDrawStyle(qint16 style) override {
        m_host.record(QStringLiteral("DrawStyle"), {style});
    }
    void setFillColor(qint32 colour) override {
        m_host.record(QStringLiteral("FillColor"), {colour});
    }
    float ScaleHeight() override {
        return m_host.record(QStringLiteral("ScaleHeight"), {}, m_host.scaleHeight).toFloat();
    }
    qint16 PixelHeight() override {
        return qint16(m_host.record(QStringLiteral("PixelHeight"), {}, m_host.pixelHeight).toInt());
    }
    void DrawCircle(float x, float y, float radius, qint32 colour, float startAngle,
                    double endAngle, float aspect) override {
        m_host.record(QStringLiteral("DrawCircle"), {double(x), double(y), double(radius), colour,
                                                     double(startAngle), endAngle, double(aspect)});
    }

private:
    FakeKestrelHost& m_host;
};

FakeKestrelHost::FakeKestrelHost(QObject* parent)
    : KestrelHost(parent), m_map(new FakeKestrelMap(*this)) {}

FakeKestrelHost::~FakeKestrelHost() {
    delete m_map;
}

int FakeKestrelHost::addStation(const QString& callsign, float distance, float longitude,
                                float latitude) {
    stations.push_back(FakeStation{QStringLiteral("#") + callsign + QStringLiteral(" more"),
                                   callsign, longitude, latitude, distance, true});
    return static_cast<int>(stations.size()) - 1;
}

void FakeKestrelHost::failOn(const QString& call, int afterCalls, int times) {
    m_failures[call] = Failure{afterCalls + m_callCounts[call], times};
}

std::vector<RecordedCall> FakeKestrelHost::callsNamed(const QString& call) const {
    std::vector<RecordedCall> result;
    std::copy_if(calls.begin(), calls.end(), std::back_inserter(result),
                 [&](const RecordedCall& recorded) { return recorded.call == call; });
    return result;
}

QStringList FakeKestrelHost::callNames() const {
    QStringList names;
    for (const RecordedCall& recorded : calls)
        names << recorded.call;
    return names;
}

void FakeKestrelHost::enter(const QString& call, QVariantList args) {
    const int count = ++m_callCounts[call];
    const auto failure = m_failures.find(call);
    const bool fails =
        failure != m_failures.end() && count > failure->second.afterCalls &&
        (failure->second.times < 0 || count <= failure->second.afterCalls + failure->second.times);
    if (recording || fails)
        calls.push_back(RecordedCall{call, std::move(args), {}, fails});
    if (fails)
        throw HostError(QStringLiteral("fake host: %1 failed").arg(call));
}

void FakeKestrelHost::leave(QVariant result) {
    if (recording && !calls.empty())
        calls.back().result = std::move(result);
}

QVariant FakeKestrelHost::record(const QString& call, QVariantList args, QVariant result) {
    enter(call, std::move(args));
    leave(result);
    return result;
}

KestrelMap* FakeKestrelHost::Map() {
    enter(QStringLiteral("Map"), {});
    return m_map;
}

qint16 FakeKestrelHost::StationCount() {
    return qint16(record(QStringLiteral("StationCount"), {}, int(stations.size())).toInt());
}

QString FakeKestrelHost::entryAt(int index) const {
    if (index >= 0 && index < static_cast<int>(stations.size()))
        return stations[static_cast<size_t>(index)].entryText;
    return {};
}

QString FakeKestrelHost::StationListItem(qint16 index) {
    return record(QStringLiteral("StationListItem"), {index}, entryAt(index)).toString();
}

bool FakeKestrelHost::find(KestrelStation& station) {
    if (onGetStation)
        onGetStation(station.Callsign);
    const FakeStation* heard = nullptr;
    if (m_indexed) {
        const auto found = m_index.constFind(station.Callsign);
        if (found != m_index.cend())
            heard = &stations[size_t(found.value())];
    } else {
        for (const FakeStation& candidate : stations)
            if (candidate.callsign == station.Callsign && candidate.known) {
                heard = &candidate;
                break;
            }
    }
    if (!heard)
        return false;
    station.Longitude = heard->longitude;
    station.Latitude = heard->latitude;
    station.Distance = heard->distance;
    return true;
}

bool FakeKestrelHost::GetStation(KestrelStation& station) {
    enter(QStringLiteral("GetStation"), {station.Callsign});
    const bool known = find(station);
    leave(known);
    return known;
}

std::optional<QStringList> FakeKestrelHost::StationListItems(qint16 first, qint16 count) {
    if (!offerBlocks)
        return std::nullopt;
    enter(QStringLiteral("StationListItems"), {first, count});
    QStringList texts;
    const int end = std::min(first + count, int(stations.size()));
    for (int i = first; i < end; ++i)
        texts << entryAt(i);
    leave(texts);
    return texts;
}

std::optional<std::vector<std::optional<KestrelStation>>>
FakeKestrelHost::GetStations(const QStringList& callsigns) {
    if (!offerBlocks)
        return std::nullopt;
    enter(QStringLiteral("GetStations"), {callsigns});
    std::vector<std::optional<KestrelStation>> answers;
    for (const QString& callsign : callsigns) {
        KestrelStation station;
        station.Callsign = callsign;
        if (find(station))
            answers.emplace_back(station);
        else
            answers.emplace_back();
    }
    leave(int(answers.size()));
    return answers;
}

void FakeKestrelHost::buildIndex() {
    m_index.clear();
    for (int i = 0; i < static_cast<int>(stations.size()); ++i)
        if (stations[size_t(i)].known && !m_index.contains(stations[size_t(i)].callsign))
            m_index.insert(stations[size_t(i)].callsign, i);
    m_indexed = true;
}

void FakeKestrelHost::setEventsEnabled(qint32 value) {
    record(QStringLiteral("EventsEnabled"), {value});
}

void FakeKestrelHost::AlertStation(const QString& callsign) {
    record(QStringLiteral("AlertStation"), {callsign});
}

void FakeKestrelHost::SetBeacon(const KestrelBeacon& beacon) {
    record(QStringLiteral("SetBeacon"), {beacon.Callsign, beacon.Comment});
}
