#!/usr/bin/env bash
# The Windows build under Wine against the Linux build, on one Xvfb (1920 x 1080, Mesa's software GL)
# in one run, round by round and alternating who goes first: launch to the first displayed frame, and
# the busy playing screen's frame. Prints each round and the medians with Windows / Linux. With "idle",
# instead the paced loop's share of a core and pictures a second on five screens (tools/bench/idle.sh),
# for each system in turn.
#   tools/bench/wine.sh [rounds, default 5] [batches of 200 frames per frame run, default 5]
#   tools/bench/wine.sh idle [seconds per screen, default 10]
# Builds build-bench/ (Linux) and build-windows-bench/ (Windows, with tools/windows/libraries.sh's libraries).
set -euo pipefail
cd "$(dirname "$0")/../.."
rounds=${1:-5} batches=${2:-5}
[[ $rounds == idle ]] && batches=${2:-10}
if [[ -z ${GLIMMORA_BENCH_INSIDE:-} ]]; then
    prefix=$(bash tools/windows/libraries.sh --prefix)
    cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=RelWithDebInfo -DGLIMMORA_BENCH=ON -DGLIMMORA_BUILD_TESTS=OFF > /dev/null
    cmake --build build-bench -j"$(nproc)" --target game_bench > /dev/null
    cmake -S . -B build-windows-bench -G Ninja -DCMAKE_TOOLCHAIN_FILE=tools/windows/mingw-w64.cmake \
        -DCMAKE_PREFIX_PATH="$prefix" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DGLIMMORA_BENCH=ON -DGLIMMORA_BUILD_TESTS=OFF > /dev/null
    cmake --build build-windows-bench -j"$(nproc)" --target game_bench > /dev/null
    export ALSOFT_DRIVERS=null GLIMMORA_BENCH_INSIDE=1 GLIMMORA_WINE_DLLS=$prefix/bin
    source tools/lib/display.sh && display_run 1920x1080 bash "$0" "$rounds" "$batches"; exit
fi

# A Wine of its own, started once and kept running, so its own start-up is not counted
source tools/lib/wine.sh
export WINEPATH="Z:${GLIMMORA_WINE_DLLS}"
rm -rf build-windows-bench/wine
trap wine_session_end EXIT
wine_session_start "$PWD/build-windows-bench/wine"
run() { # linux|windows, then game_bench's arguments; prints its report line with the system's name
    if [[ $1 == linux ]]; then
        build-bench/tools/bench/game_bench "${@:2}" 2> /dev/null | sed 's/^game/linux/'
    else
        "$WINE" build-windows-bench/tools/bench/game_bench.exe "${@:2}" 2> /dev/null | tr -d '\r' | sed 's/^game/windows/'
    fi
}
# Wine's first start of a program (some ten seconds) sets up what the later ones reuse: not counted
run windows startup "$EPOCHREALTIME" > /dev/null
if [[ $rounds == idle ]]; then
    for system in linux windows; do run "$system" idle "$batches" paced; done
    exit 0
fi
results=$(mktemp)
for ((round = 1; round <= rounds; ++round)); do
    order=(linux windows) && ((round % 2)) || order=(windows linux)
    for system in "${order[@]}"; do run "$system" startup "$EPOCHREALTIME" | tee -a "$results"; done
    for system in "${order[@]}"; do run "$system" frame "$batches" | tee -a "$results"; done
done
awk -v first=linux -v second=windows -f tools/bench/compare.awk "$results"
rm -f "$results"
