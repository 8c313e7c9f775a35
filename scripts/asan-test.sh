#!/usr/bin/env bash
# Builds the unit tests a second time with AddressSanitizer and UndefinedBehaviorSanitizer
# into build-asan/ and runs them, together with a replay of every fuzz corpus (fuzz/corpus).
# Left out, to keep the whole test command within its time: the D-Bus end-to-end programs
# (test_dbus, test_endtoend: they need the program and the stand-in tracker built as well)
# and the install test (it builds and packages the whole project once more). Benchmarks
# are not built here.
set -euo pipefail
cd "$(dirname "$0")/.."
dir=build-asan
skip='^(test_dbus|test_endtoend|test_install)$'

# Any report fails the test (or the test listing at build time) that caused it. Leaks: see
# lsan.supp for the few that are not ours.
export ASAN_OPTIONS="detect_leaks=1:strict_string_checks=1"
export LSAN_OPTIONS="suppressions=$PWD/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
export QT_QPA_PLATFORM=offscreen

# -O1 -g1: enough optimisation to keep the tests quick, line tables for the reports.
cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Sanitize -DCMAKE_CXX_FLAGS_SANITIZE="-O1 -g1" \
    -DRINGWARDEN_SANITIZE=ON -DRINGWARDEN_BUILD_BENCH=OFF >/dev/null

mapfile -t targets < <(ninja -C "$dir" -t targets all | sed -n 's/^\(test_[a-z0-9_]*\): .*/\1/p' |
                       grep -v '_autogen' | grep -Ev "$skip" | sort -u)
cmake --build "$dir" --parallel "$(nproc)" --target "${targets[@]}" fuzz_targets

cd "$dir"
ctest --output-on-failure --parallel "$(nproc)" --timeout 300 \
    -LE '^(dbus|endtoend|install)$' -E '(test_dbus|test_endtoend|test_install).*'
