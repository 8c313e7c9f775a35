#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test (no display, no session bus needed).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh
export QT_QPA_PLATFORM=offscreen
(cd build && ctest --output-on-failure --parallel "$(nproc)" --timeout 300)
# The unit tests again under AddressSanitizer and UndefinedBehaviorSanitizer, and every fuzz
# target replayed over its seed corpus (fuzz/corpus) in that build. The libFuzzer build
# (scripts/fuzz.sh) is a separate clang build of its own and does not fit the time here.
scripts/asan-test.sh
