#!/usr/bin/env bash
# Builds with warnings fatal and AddressSanitizer + UndefinedBehaviorSanitizer, then runs every test headless.
set -euo pipefail
cd "$(dirname "$0")/.."
export SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=dummy LP_NUM_THREADS=2
# Leak checking is on by default; the few programs that open a GL context turn it
# off for themselves, since the software renderer keeps its compiled shaders.
# handle_abort gives an abort (an uncaught exception, even in a static
# initialiser while the tests are listed) a stack that names the file.
export ASAN_OPTIONS=abort_on_error=1:handle_abort=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

# The budget of every CI log: CPU time of the build and the tests, and the size
# of the build folder, printed however the run ends.
report_budget() {
  local cpu
  cpu=$(times | tail -n 1)
  echo "Budget: wall ${SECONDS}s; CPU user and system of build and tests: ${cpu}; build-test holds $(du -sh build-test 2>/dev/null | cut -f1)"
}
trap report_budget EXIT

cmake -S . -B build-test -DCMAKE_BUILD_TYPE=Debug -DKIV_WERROR=ON -DKIV_SANITIZE=ON
cmake --build build-test -j "$(nproc)"
ctest --test-dir build-test --output-on-failure -j "$(nproc)"
