#!/usr/bin/env bash
# Builds the player and runs it on a small sample package made by our own tool.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKIV_TESTS=OFF -DKIV_BENCH=OFF
cmake --build build -j "$(nproc)" --target RunTimeKiv make_sample_package kivinfo
build/bin/make_sample_package build/bin/DATA.kRC
build/bin/RunTimeKiv "$@"
