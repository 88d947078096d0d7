#!/usr/bin/env bash
# The whole test suite again, built with AddressSanitizer and UndefinedBehaviorSanitizer into
# build-asan/: asserts on, leak detection on for the game's own code. The end-to-end tests run the
# sanitized game binary, so their runs end with its leak check too.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DGLIMMORA_SANITIZE=ON > /dev/null
cmake --build build-asan -j"$(nproc)"
source tools/sanitizers/env.sh
source tools/lib/display.sh
export ALSOFT_DRIVERS=null
cd build-asan
display_run 1920x1080 ctest --output-on-failure -j1
