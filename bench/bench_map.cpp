// kestrel32's map repaint with the base map, a full list (32,767 entries), the 500 stations in
// range moving with their trails (50 points each) and the marks of a Ringwarden tick (a ring
// round each of them, 50 alarmed), at the whole-world zoom and at a 20 km zoom round the own
// station; a pan of 100 pixels (the base map drawn anew); the station list sorted by distance;
// and the memory of all of it. One frame is 16 ms.
#include <benchmark/benchmark.h>

#include <cmath>
#include <fstream>
#include <random>
#include <string>

#include <QApplication>
#include <QImage>

#include "BenchMain.h"
#include "HostCore.h"
#include "MapView.h"
#include "map/BaseMapFile.h"
#include "map/StationFilterProxy.h"
#include "map/StationTableModel.h"

namespace {

constexpr int FullList = 32767;
constexpr int InRange = 500;
constexpr int Alarmed = 50;
constexpr double OwnLat = 49.0;
constexpr double OwnLon = -72.0;
constexpr int Width = 1024;
constexpr int Height = 768;
constexpr int TrailPoints = 50;

// A tracker with the own station, 500 stations within 10 km and the rest anywhere.
std::unique_ptr<HostCore> fullTracker() {
    Scenario scenario;
    scenario.ownCallsign = QStringLiteral("OWN");
    scenario.ownLat = OwnLat;
    scenario.ownLon = OwnLon;
    auto core = std::make_unique<HostCore>(scenario);
    std::mt19937 random(18);
    std::uniform_real_distribution<double> near(-0.06, 0.06), lat(-60.0, 70.0), lon(-180, 180);
    StationStore& store = core->store();
    std::uniform_real_distribution<double> heading(0.0, 6.283);
    StationLog& log = core->log();
    for (int i = 1; i < FullList; ++i) {
        const QString call = QStringLiteral("ST%1").arg(i);
        if (i <= InRange) {
            // Moving: fifty positions 100 m apart over the last 17 minutes.
            const double startLat = OwnLat + near(random), startLon = OwnLon + near(random);
            const double a = heading(random);
            double la = startLat, lo = startLon;
            for (int k = 0; k < TrailPoints; ++k) {
                la = startLat + k * 0.0009 * std::cos(a);
                lo = startLon + k * 0.0013 * std::sin(a);
                log.heard(call, la, lo, HeardVia::AprsIs,
                          core->nowMs() - (TrailPoints - k) * 20000);
            }
            store.upsert(call, la, lo, "088/036 in range");
        } else {
            store.upsert(call, lat(random), lon(random), "far away");
            log.heard(call, store.at(i)->lat, store.at(i)->lon, HeardVia::AprsIs, core->nowMs());
        }
    }
    return core;
}

std::shared_ptr<const BaseMap> baseMap() {
    BaseMapRead read = basemap::readFile(QStringLiteral(KESTREL32_BASEMAP));
    return read.map ? std::make_shared<const BaseMap>(std::move(*read.map)) : nullptr;
}

// The view: the whole world (0) or `viewHeightKm` high round the own station.
void setView(MapScene& scene, double viewHeightKm) {
    scene.pixelWidth = Width;
    scene.pixelHeight = Height;
    if (viewHeightKm <= 0.0) {
        scene.fit(-180.0 * 60.0, -90.0 * 60.0, 180.0 * 60.0, 90.0 * 60.0);
        return;
    }
    scene.fit(OwnLon * 60.0, OwnLat * 60.0, OwnLon * 60.0, OwnLat * 60.0);
    // One minute of latitude is 1.852 km.
    scene.unitsPerPixel = viewHeightKm / 1.852 / Height;
}

// What a Ringwarden tick leaves on the map: an 8-pixel dotted ring round each station in
// range (its size taken from the view at the time, as Ringwarden does), the ring of the
// alarm range round the own station, and the highlight of the stations that alarmed.
void addTickMarks(HostCore& core) {
    MapScene& scene = core.scene();
    const StationStore& store = core.store();
    const double turn = 2.0 * 3.14159265358979;
    scene.drawWidth = 3;
    scene.drawStyle = 2;
    scene.fillColour = 0xffff00;
    const double ring = 8.0 * scene.scaleHeight() / scene.pixelHeight;
    for (int i = 1; i <= InRange; ++i) {
        const HeardStation* station = store.at(i);
        scene.addCircle(station->lon * 60.0, station->lat * 60.0, ring, 0x0000ff, 0.0, turn, 1.0,
                        core.nowMs());
        if (i <= Alarmed)
            scene.alert(station->callsign, core.nowMs());
    }
    scene.addCircle(OwnLon * 60.0, OwnLat * 60.0, 9.0, 0xffff00, 0.0, turn, 1.0, core.nowMs());
}

void paintMap(benchmark::State& state, double viewHeightKm) {
    const std::unique_ptr<HostCore> core = fullTracker();
    if (core->store().count() != FullList) {
        state.SkipWithError("the list is not full");
        return;
    }
    const auto base = baseMap();
    if (!base) {
        state.SkipWithError("no base map");
        return;
    }
    MapView view(*core);
    view.setBaseMap(base);
    view.resize(Width, Height);
    setView(core->scene(), viewHeightKm);
    addTickMarks(*core);
    QImage frame(Width, Height, QImage::Format_ARGB32_Premultiplied);
    // Every paint but the first copies the base map's picture; a pan draws it anew.
    const double panPixels = state.range(1);
    double direction = 1.0;
    for (auto _ : state) {
        if (panPixels > 0) {
            core->scene().pan(direction * panPixels, 0.0);
            direction = -direction;
        }
        view.render(&frame);
        benchmark::DoNotOptimize(frame.constBits());
    }
    state.counters["stations"] = core->store().count();
    state.counters["trail_points"] = double(core->log().pointCount());
}

void BM_MapPaint32767(benchmark::State& state) {
    paintMap(state, static_cast<double>(state.range(0)));
}
// 0: the whole world; 20: a view 20 km high. The second number: pixels panned before each paint.
BENCHMARK(BM_MapPaint32767)
    ->ArgNames({"view_km", "pan_px"})
    ->Args({0, 0})
    ->Args({20, 0})
    ->Args({0, 100})
    ->Args({20, 100})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// A wide alarm range at the tracker's close start-up zoom: Ringwarden's ring of 1,100 km
// (some 10^5 pixels across) and a whole sweep of 32 steps round the own station, with a
// few stations about; the view lies inside the ring.
void BM_MapPaintWideRing(benchmark::State& state) {
    Scenario scenario;
    scenario.ownCallsign = QStringLiteral("OWN");
    scenario.ownLat = OwnLat;
    scenario.ownLon = OwnLon;
    for (int i = 0; i < 40; ++i)
        scenario.stations.push_back({QStringLiteral("NEAR%1").arg(i),
                                     OwnLat + 0.01 * (i % 7 - 3),
                                     OwnLon + 0.015 * (i / 7 - 3),
                                     false,
                                     {},
                                     0.0,
                                     {},
                                     {}});
    HostCore core(scenario);
    core.advanceTo(0.0);
    MapView view(core);
    view.resize(Width, Height);
    core.scene().pixelWidth = Width;
    core.scene().pixelHeight = Height;
    core.fitView();
    const double turn = 2.0 * 3.14159265358979;
    const double x = OwnLon * 60.0, y = OwnLat * 60.0, km = state.range(0);
    core.setDrawWidth(2);
    core.drawCircle(x, y, km, 0x0000ff, 0.0, turn, 1.0);
    for (int step = 0; step < 32; ++step)
        core.drawCircle(x, y, km, 0x00ff00, step * turn / 32, (step + 1) * turn / 32, 0.5);
    QImage frame(Width, Height, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        view.render(&frame);
        benchmark::DoNotOptimize(frame.constBits());
    }
    state.counters["ring_px"] = core.scene().toPixels(km) * 2;
}
BENCHMARK(BM_MapPaintWideRing)
    ->ArgName("km")
    ->Arg(1100)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// View > Stations with the full list: a click on the Distance header, ascending and
// descending in turn.
void BM_StationListSortByDistance(benchmark::State& state) {
    const std::unique_ptr<HostCore> core = fullTracker();
    StationTableModel model(core->store(), core->log(), [&] { return core->nowMs(); });
    StationFilterProxy proxy;
    proxy.setSourceModel(&model);
    model.refresh();
    Qt::SortOrder order = Qt::AscendingOrder;
    for (auto _ : state) {
        proxy.sort(StationTableModel::Distance, order);
        order = order == Qt::AscendingOrder ? Qt::DescendingOrder : Qt::AscendingOrder;
        benchmark::DoNotOptimize(proxy.index(0, 0));
    }
    state.counters["rows"] = proxy.rowCount();
}
BENCHMARK(BM_StationListSortByDistance)->Unit(benchmark::kMillisecond)->UseRealTime();

double residentMb() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmRSS:", 0) == 0)
            return std::stod(line.substr(6)) / 1024.0;
    return -1.0;
}

// The tracker's map side in full, in this process: the full list with its log (the 500 moving
// stations with 50 points), the base map, the map painted and the station table filled.
void BM_MemoryFullListWithTrails(benchmark::State& state) {
    for (auto _ : state) {
        const std::unique_ptr<HostCore> core = fullTracker();
        MapView view(*core);
        view.setBaseMap(baseMap());
        view.resize(Width, Height);
        setView(core->scene(), 20);
        QImage frame(Width, Height, QImage::Format_ARGB32_Premultiplied);
        view.render(&frame);
        StationTableModel model(core->store(), core->log(), [&] { return core->nowMs(); });
        StationFilterProxy proxy;
        proxy.setSourceModel(&model);
        model.refresh();
        proxy.sort(StationTableModel::Distance);
        state.counters["rss_mb"] = residentMb();
    }
}
BENCHMARK(BM_MemoryFullListWithTrails)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    return runBenchmarks(argc, argv);
}
