#!/usr/bin/env bash
# Builds and runs the benchmarks and writes the performance record to build/bench.json: an
# array of {"name", "value", "unit"}, one entry a figure.
#
#   scripts/bench.sh              # builds in build-bench/, writes build/bench.json
#   BUILD_DIR=other scripts/bench.sh
#
# The benchmarks get a build folder of their own, optimised as a release is (-O2), so that
# they neither measure the test build (-O1) nor make it rebuild.
#
# Run scripts/install-deps.sh first (jq is installed here when missing). Takes about two
# minutes; run it on an otherwise quiet machine, the figures are wall-clock times.
set -euo pipefail
cd "$(dirname "$0")/.."
build="${BUILD_DIR:-build-bench}"
record_dir=build
mkdir -p "$record_dir"
command -v jq >/dev/null || apt-get install -y jq
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" --parallel "$(nproc)" --target bench_engine bench_record
export QT_QPA_PLATFORM=offscreen

engine="$build/bench/engine.json"
record="$build/bench/record.json"
"$build/bench/bench_engine" --benchmark_repetitions=5 --benchmark_report_aggregates_only=true \
    --benchmark_out="$engine" --benchmark_out_format=json
"$build/bench/bench_record" --benchmark_out="$record" --benchmark_out_format=json

# The median of the repetitions for the engine's figures; bench_record takes its own medians.
jq -n --slurpfile e "$engine" --slurpfile r "$record" '
  def med(name): $e[0].benchmarks[] | select(.name == name + "_median");
  def rec(name): $r[0].benchmarks[] | select(.name | startswith(name + "/"));
  [
    {name: "scan_inprocess_10000_per_s",
     value: med("BM_ScanStations/10000")["stations/s"], unit: "stations/s"},
    {name: "scan_dbus_10000_s",
     value: (rec("BM_TickOverBus10000").real_time / 1000), unit: "s"},
    {name: "list_sorted_5000_ms",
     value: med("BM_ListFiveThousandInRange").real_time, unit: "ms"},
    {name: "overlay_2500_ms",
     value: med("BM_OverlayLoadAndScan").real_time, unit: "ms"},
    {name: "max_event_gap_ms",
     value: rec("BM_TickOverBus10000").gap_median_ms, unit: "ms"},
    {name: "startup_ms",
     value: rec("BM_StartupAndIdleMemory").startup_ms, unit: "ms"},
    {name: "idle_rss_mb",
     value: rec("BM_StartupAndIdleMemory").idle_rss_mb, unit: "MB"}
  ]' >"$record_dir/bench.json.new"
# A benchmark that failed leaves its figures out: say so rather than write a short record.
if [ "$(jq length "$record_dir/bench.json.new")" -ne 7 ]; then
    echo "bench.sh: some figures are missing (see the benchmark output above)" >&2
    exit 1
fi
mv "$record_dir/bench.json.new" "$record_dir/bench.json"
cat "$record_dir/bench.json"
