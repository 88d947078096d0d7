#!/usr/bin/env bash
# Sets everything up and runs the whole test suite: unit tests, the app layer in
# process and the real binary, all under a virtual X display with OpenAL's null driver.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/setup.sh --tests
export ALSOFT_DRIVERS=null
(cd build && xvfb-run -a -s "-screen 0 1920x1080x24" ctest --output-on-failure -j1)

# Robustness: the whole suite again under the sanitizers (leak checks on), then each fuzz target
# for a bounded time from its seeds.
bash tools/sanitize.sh
bash tools/fuzz.sh 20
