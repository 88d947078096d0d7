#!/usr/bin/env bash
# What the paced loop costs as players get it: the game process's share of a core and the pictures it shows
# a second, on the title page after its fade, the menu at rest, calm play at level 1, play with the popup
# rising and paused play; then the same with the loop unthrottled, as it ran before it was paced. On one Xvfb
# at 1920 x 1080 with OpenAL's null driver.
#   tools/bench/idle.sh [seconds per screen, default 10]
set -euo pipefail
cd "$(dirname "$0")/../.."
seconds=${1:-10}
cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=RelWithDebInfo -DGLIMMORA_BENCH=ON -DGLIMMORA_BUILD_TESTS=OFF > /dev/null
cmake --build build-bench -j"$(nproc)" --target game_bench > /dev/null
export ALSOFT_DRIVERS=null
source tools/lib/display.sh
for pacing in paced unthrottled; do
    echo "# $pacing"
    display_run 1920x1080 build-bench/tools/bench/game_bench idle "$seconds" "$pacing" 2> /dev/null
done
