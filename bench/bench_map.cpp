// kestrel32's map repaint with a full list (32,767 entries) and the marks of a Ringwarden
// tick (a ring round each of the 500 stations in range, 50 of them alarmed), at the whole-world
// zoom and at a 20 km zoom round the own station. One frame is 16 ms.
#include <benchmark/benchmark.h>

#include <cmath>
#include <random>

#include <QApplication>
#include <QImage>

#include "BenchMain.h"
#include "HostCore.h"
#include "MapView.h"

namespace {

constexpr int FullList = 32767;
constexpr int InRange = 500;
constexpr int Alarmed = 50;
constexpr double OwnLat = 49.0;
constexpr double OwnLon = -72.0;
constexpr int Width = 1024;
constexpr int Height = 768;

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
    for (int i = 1; i < FullList; ++i) {
        const QString call = QStringLiteral("ST%1").arg(i);
        if (i <= InRange)
            store.upsert(call, OwnLat + near(random), OwnLon + near(random), "in range");
        else
            store.upsert(call, lat(random), lon(random), "far away");
    }
    return core;
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
    MapView view(*core);
    view.resize(Width, Height);
    setView(core->scene(), viewHeightKm);
    addTickMarks(*core);
    QImage frame(Width, Height, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        view.render(&frame);
        benchmark::DoNotOptimize(frame.constBits());
    }
    state.counters["stations"] = core->store().count();
}

void BM_MapPaint32767(benchmark::State& state) {
    paintMap(state, static_cast<double>(state.range(0)));
}
// 0: the whole world; 20: a view 20 km high.
BENCHMARK(BM_MapPaint32767)
    ->ArgName("view_km")
    ->Arg(0)
    ->Arg(20)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    return runBenchmarks(argc, argv);
}
