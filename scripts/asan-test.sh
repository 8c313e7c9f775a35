#!/usr/bin/env bash
# Builds the unit tests a second time with AddressSanitizer and UndefinedBehaviorSanitizer
# into build-asan/ and runs them, together with a replay of every fuzz corpus (fuzz/corpus)
# and the soak. These are the tests of the code that reads outside text and keeps the lists;
# the window, whole-program, D-Bus, radio and install tests run in the ordinary build only,
# which keeps the whole test command within its ten minutes (the window libraries and the
# two programs would double this build). Benchmarks are not built here.
set -euo pipefail
cd "$(dirname "$0")/.."
dir=build-asan
tests=(test_numbers test_settings test_lists test_support test_engine test_alerts
       test_sim test_feed_decoders test_feed_links)

# Any report fails the test (or the test listing at build time) that caused it. Leaks: see
# lsan.supp for the few that are not ours.
export ASAN_OPTIONS="detect_leaks=1:strict_string_checks=1"
export LSAN_OPTIONS="suppressions=$PWD/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
export QT_QPA_PLATFORM=offscreen

# -O0 -g1: quickest to compile, line tables for the reports; sixteen sources to a unit, as
# build.sh does.
cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Sanitize -DCMAKE_CXX_FLAGS_SANITIZE="-O0 -g1" \
    -DRINGWARDEN_SANITIZE=ON -DRINGWARDEN_BUILD_BENCH=OFF \
    -DCMAKE_UNITY_BUILD=ON -DCMAKE_UNITY_BUILD_BATCH_SIZE=16 >/dev/null
cmake --build "$dir" --parallel "$(nproc)" --target "${tests[@]}" fuzz_targets

cd "$dir"
pattern="^($(IFS='|'; echo "${tests[*]}")|fuzz_.*_corpus)\$"
ctest --output-on-failure --parallel "$(nproc)" --timeout 300 -R "$pattern"
