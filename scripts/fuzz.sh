#!/usr/bin/env bash
# Builds the libFuzzer targets with clang into build-fuzz/ and runs each for SECONDS
# (default 300), starting from its seed corpus in fuzz/corpus/<name>/. New inputs go to
# build-fuzz/corpus/<name>/, findings to build-fuzz/findings/<name>/, logs to
# build-fuzz/logs/<name>.log. FUZZ_JOBS targets run side by side (default 1); FUZZ_TARGETS
# picks some ("kiss aprs"). Exits non-zero when a target found something.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-300}"
jobs="${FUZZ_JOBS:-1}"
dir=build-fuzz
all=(profile listfile overlay latlong numeric scan updatepage scenario kiss aprs)
read -r -a targets <<<"${FUZZ_TARGETS:-${all[*]}}"

command -v clang++ >/dev/null || apt-get install -y --no-install-recommends clang
CC=clang CXX=clang++ cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DRINGWARDEN_FUZZ=ON -DRINGWARDEN_BUILD_TESTS=OFF -DRINGWARDEN_BUILD_BENCH=OFF >/dev/null
cmake --build "$dir" --parallel "${BUILD_JOBS:-2}" --target fuzz_targets

run_one() {
    local name=$1
    mkdir -p "$dir/corpus/$name" "$dir/findings/$name" "$dir/logs"
    # Leaks inside Qt's one-time allocations are not findings (see lsan.supp).
    LSAN_OPTIONS="suppressions=$PWD/lsan.supp:print_suppressions=0" \
    UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1" \
        "$dir/fuzz/fuzz_$name" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=1024 \
        -max_len=4096 -artifact_prefix="$dir/findings/$name/" -print_final_stats=1 \
        "$dir/corpus/$name" "fuzz/corpus/$name" >"$dir/logs/$name.log" 2>&1
}

failed=()
pids=()
names=()
wait_one() {
    local i=$1
    if wait "${pids[$i]}"; then
        echo "fuzz_${names[$i]}: $(grep -E '^Done [0-9]+ runs' "$dir/logs/${names[$i]}.log" | tail -1)"
    else
        echo "fuzz_${names[$i]}: FINDING, see $dir/logs/${names[$i]}.log and $dir/findings/${names[$i]}/"
        failed+=("${names[$i]}")
    fi
}
for name in "${targets[@]}"; do
    run_one "$name" &
    pids+=($!)
    names+=("$name")
    if ((${#pids[@]} >= jobs)); then
        wait_one 0
        pids=("${pids[@]:1}")
        names=("${names[@]:1}")
    fi
done
for i in "${!pids[@]}"; do
    wait_one "$i"
done
if ((${#failed[@]})); then
    echo "findings in: ${failed[*]}"
    exit 1
fi
