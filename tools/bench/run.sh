#!/usr/bin/env bash
# Builds the benchmarks into build-bench/ (the game's own build type) and measures, under one Xvfb in
# one run, alternating the two programs round by round:
#   - launch to the first displayed frame and peak memory: the game against the bare loader;
#   - the busy playing screen's frame time: the game against the bare loop;
# then the rules' part of a frame with Google Benchmark. Prints each round and the medians.
#   tools/bench/run.sh [rounds, default 5] [batches of 200 frames per frame run, default 15]
set -euo pipefail
cd "$(dirname "$0")/../.."
rounds=${1:-5} batches=${2:-15}
if [[ -z ${GLIMMORA_BENCH_INSIDE:-} ]]; then
    cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=RelWithDebInfo -DGLIMMORA_BENCH=ON -DGLIMMORA_BUILD_TESTS=OFF > /dev/null
    cmake --build build-bench -j"$(nproc)" --target bare_bench game_bench logic_bench > /dev/null
    export ALSOFT_DRIVERS=null GLIMMORA_BENCH_INSIDE=1
    source tools/lib/display.sh && display_run 1920x1080 bash "$0" "$rounds" "$batches"; exit
fi

results=$(mktemp)
for ((round = 1; round <= rounds; ++round)); do
    # Who goes first changes every round, so neither always finds the caches warm.
    order=(bare game) && ((round % 2)) || order=(game bare)
    for program in "${order[@]}"; do
        build-bench/tools/bench/${program}_bench startup "$EPOCHREALTIME" | tee -a "$results"
    done
    for program in "${order[@]}"; do
        build-bench/tools/bench/${program}_bench frame "$batches" | tee -a "$results"
    done
done
# Medians over the rounds, and the game's figure over the bare one's.
awk -v first=bare -v second=game -f tools/bench/compare.awk "$results"
rm -f "$results"
build-bench/tools/bench/logic_bench --benchmark_repetitions=5 --benchmark_report_aggregates_only=true
