#!/usr/bin/env bash
# Configures and builds into build/ (programs in build/bin). -O1 without debug information
# keeps a build from scratch quick on two cores; scripts/bench.sh builds its own way.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_FLAGS_RELEASE="-O1"
cmake --build build --parallel "$(nproc)"
