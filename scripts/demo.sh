#!/usr/bin/env bash
# Installs what is missing, builds Korvanex and starts the editor against the simulated unit.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DKORVANEX_BENCH=OFF
cmake --build build/release --target korvanex korvanex-demo
exec build/release/sim/korvanex-demo "$@"
