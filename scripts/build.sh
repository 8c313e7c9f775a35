#!/usr/bin/env bash
# Configures and builds into build/ (programs in build/bin). -O1 without debug information,
# and sources compiled sixteen to a unit (the Qt headers are then read once for sixteen files
# instead of once for each), keep a build from scratch quick on two cores: about half the
# compile time. scripts/bench.sh builds its own way.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_FLAGS_RELEASE="-O1" \
    -DCMAKE_UNITY_BUILD=ON -DCMAKE_UNITY_BUILD_BATCH_SIZE=16
cmake --build build --parallel "$(nproc)"
