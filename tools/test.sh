#!/usr/bin/env bash
# Builds with warnings fatal and AddressSanitizer + UndefinedBehaviorSanitizer, then runs every test headless.
set -euo pipefail
cd "$(dirname "$0")/.."
export SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=dummy LP_NUM_THREADS=2
# Leak checking is on by default; the few programs that open a GL context turn it
# off for themselves, since the software renderer keeps its compiled shaders.
export ASAN_OPTIONS=abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
cmake -S . -B build-test -DCMAKE_BUILD_TYPE=Debug -DKIV_WERROR=ON -DKIV_SANITIZE=ON
cmake --build build-test -j "$(nproc)"
ctest --test-dir build-test --output-on-failure -j "$(nproc)"
