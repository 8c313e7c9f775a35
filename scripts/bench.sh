#!/usr/bin/env bash
# Builds and runs the benchmarks and writes the performance record to build/bench.json: an
# array of {"name", "value", "unit"}, one entry a figure; the figures that have a goal carry
# it beside them as "goal" (a text such as ">= 20000" or "<= 0.3").
#
#   scripts/bench.sh              # builds in build-bench/, writes build/bench.json
#   BUILD_DIR=other scripts/bench.sh
#
# The benchmarks get a build folder of their own, optimised as a release is (-O2), so that
# they neither measure the test build (-O1) nor make it rebuild.
#
# Run scripts/install-deps.sh first (jq is installed here when missing). Takes about two
# minutes (the full-list figures need two lists of 32,767 stations over the bus); run it on
# an otherwise quiet machine, the figures are wall-clock times.
set -euo pipefail
cd "$(dirname "$0")/.."
build="${BUILD_DIR:-build-bench}"
record_dir=build
mkdir -p "$record_dir"
command -v jq >/dev/null || apt-get install -y jq
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" --parallel "$(nproc)" --target bench_engine bench_record bench_feed bench_map \
    bench_trivial_server
export QT_QPA_PLATFORM=offscreen

engine="$build/bench/engine.json"
record="$build/bench/record.json"
feed="$build/bench/feed.json"
map="$build/bench/map.json"
"$build/bench/bench_engine" --benchmark_repetitions=5 --benchmark_report_aggregates_only=true \
    --benchmark_out="$engine" --benchmark_out_format=json
"$build/bench/bench_record" --benchmark_out="$record" --benchmark_out_format=json
"$build/bench/bench_feed" --benchmark_filter=BM_FeedIngest --benchmark_out="$feed" \
    --benchmark_out_format=json
"$build/bench/bench_map" --benchmark_repetitions=3 --benchmark_report_aggregates_only=true \
    --benchmark_out="$map" --benchmark_out_format=json

# The median of the repetitions for the engine's figures; bench_record takes its own medians.
jq -n --slurpfile e "$engine" --slurpfile r "$record" --slurpfile f "$feed" --slurpfile m "$map" '
  def med(name): $e[0].benchmarks[] | select(.name == name + "_median");
  def rec(name): first($r[0].benchmarks[] | select(.name | startswith(name + "/")));
  def mapmed(name): $m[0].benchmarks[] | select(.name == name + "/real_time_median");
  def perstation(n): med("BM_Tick/" + n).per_station_us;
  [
    {name: "scan_inprocess_10000_per_s",
     value: med("BM_ScanStations/10000")["stations/s"], unit: "stations/s"},
    {name: "scan_dbus_10000_s",
     value: (rec("BM_TickOverBus/10000").real_time / 1000), unit: "s"},
    {name: "list_sorted_5000_ms",
     value: med("BM_ListFiveThousandInRange").real_time, unit: "ms"},
    {name: "overlay_2500_ms",
     value: med("BM_OverlayLoadAndScan").real_time, unit: "ms"},
    {name: "max_event_gap_ms",
     value: rec("BM_TickOverBus/10000").gap_median_ms, unit: "ms"},
    {name: "startup_ms",
     value: rec("BM_StartupAndIdleMemory").startup_ms, unit: "ms"},
    {name: "idle_rss_mb",
     value: rec("BM_StartupAndIdleMemory").idle_rss_mb, unit: "MB"},
    {name: "feed_ingest_lines_per_s",
     value: rec("BM_FeedIngestWhileTicking").lines_per_s, unit: "lines/s", goal: ">= 20000"},
    {name: "feed_ingest_inprocess_lines_per_s",
     value: ($f[0].benchmarks[] | select(.name | startswith("BM_FeedIngest/"))).lines_per_s,
     unit: "lines/s"},
    {name: "scan_dbus_32767_s",
     value: (rec("BM_TickOverBus/32767").real_time / 1000), unit: "s", goal: "<= 0.3"},
    {name: "scan_dbus_32767_no_marks_s",
     value: (rec("BM_TickOverBus/32767/0").real_time / 1000), unit: "s"},
    {name: "bus_floor_32767_s",
     value: (rec("BM_BusFloor/32767").real_time / 1000), unit: "s"},
    {name: "scan_over_floor_32767",
     value: (rec("BM_TickOverBus/32767").real_time / rec("BM_BusFloor/32767").real_time),
     unit: "ratio", goal: "<= 3"},
    {name: "trivial_whole_list_32767_ms",
     value: rec("BM_WholeListFetch/32767/0").real_time, unit: "ms"},
    {name: "kestrel32_whole_list_32767_ms",
     value: rec("BM_WholeListFetch/32767/1").real_time, unit: "ms"},
    {name: "kestrel32_whole_list_over_trivial",
     value: (rec("BM_WholeListFetch/32767/1").real_time
             / rec("BM_WholeListFetch/32767/0").real_time), unit: "ratio", goal: "<= 2"},
    {name: "scan_over_trivial_32767",
     value: (rec("BM_TickOverBus/32767").real_time
             / rec("BM_WholeListFetch/32767/0").real_time), unit: "ratio", goal: "<= 2"},
    {name: "max_event_gap_32767_ms",
     value: rec("BM_TickOverBus/32767").gap_median_ms, unit: "ms", goal: "<= 10"},
    {name: "map_paint_32767_world_ms",
     value: mapmed("BM_MapPaint32767/view_km:0/pan_px:0").real_time, unit: "ms", goal: "<= 16"},
    {name: "map_paint_32767_20km_ms",
     value: mapmed("BM_MapPaint32767/view_km:20/pan_px:0").real_time, unit: "ms", goal: "<= 16"},
    {name: "map_pan_100px_world_ms",
     value: mapmed("BM_MapPaint32767/view_km:0/pan_px:100").real_time, unit: "ms", goal: "<= 16"},
    {name: "map_pan_100px_20km_ms",
     value: mapmed("BM_MapPaint32767/view_km:20/pan_px:100").real_time, unit: "ms", goal: "<= 16"},
    {name: "map_paint_wide_ring_1100km_ms",
     value: mapmed("BM_MapPaintWideRing/km:1100").real_time, unit: "ms", goal: "<= 16"},
    {name: "station_list_sort_32767_ms",
     value: mapmed("BM_StationListSortByDistance").real_time, unit: "ms", goal: "<= 100"},
    {name: "map_side_rss_32767_trails_mb",
     value: ($m[0].benchmarks[] | select(.name == "BM_MemoryFullListWithTrails/iterations:1_median")).rss_mb,
     unit: "MB", goal: "<= 150"},
    {name: "kestrel32_rss_32767_mb",
     value: rec("BM_MemoryAtFullList/32767").tracker_rss_mb, unit: "MB", goal: "<= 150"},
    {name: "ringwarden_rss_32767_mb",
     value: rec("BM_MemoryAtFullList/32767").ringwarden_rss_mb, unit: "MB", goal: "<= 60"},
    {name: "tick_cost_per_station_1000_us", value: perstation("1000"), unit: "us"},
    {name: "tick_cost_per_station_10000_us", value: perstation("10000"), unit: "us"},
    {name: "tick_cost_per_station_32767_us", value: perstation("32767"), unit: "us"},
    {name: "tick_cost_per_station_growth",
     value: ([perstation("1000"), perstation("10000"), perstation("32767")]
             | max / min), unit: "ratio", goal: "<= 1.5"}
  ]' >"$record_dir/bench.json.new"
# A benchmark that failed leaves its figures out: say so rather than write a short record.
if [ "$(jq length "$record_dir/bench.json.new")" -ne 31 ]; then
    echo "bench.sh: some figures are missing (see the benchmark output above)" >&2
    exit 1
fi
mv "$record_dir/bench.json.new" "$record_dir/bench.json"
cat "$record_dir/bench.json"
