#!/usr/bin/env bash
# Builds the libFuzzer targets of tests/fuzz with clang and the sanitizers into build-fuzz/, then runs
# each for a bounded time from its checked-in seed corpus. Any finding fails the run and leaves its input
# in build-fuzz/findings/.
#   tools/fuzz.sh [seconds per target, default 20] [target...]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-20}
targets=("${@:2}")
((${#targets[@]})) || targets=(highscore mp3 commands)

CC=clang CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=Debug -DGLIMMORA_FUZZ=ON \
    -DGLIMMORA_BUILD_TESTS=OFF > /dev/null
cmake --build build-fuzz -j"$(nproc)" --target "${targets[@]/#/fuzz_}"
source tools/sanitizers/env.sh
export ALSOFT_DRIVERS=null

mkdir -p build-fuzz/findings
for target in "${targets[@]}"; do
    # New inputs go to a scratch folder: the checked-in seeds stay as they are.
    scratch=$(mktemp -d) log=build-fuzz/fuzz_$target.log
    if ! build-fuzz/tests/fuzz/fuzz_$target -max_total_time="$seconds" -print_final_stats=1 -rss_limit_mb=2048 \
        -artifact_prefix=build-fuzz/findings/$target- "$scratch" "tests/fuzz/corpus/$target" > "$log" 2>&1; then
        tail -n 40 "$log" >&2
        echo "fuzz_$target: FINDING (log $log, input in build-fuzz/findings/)" >&2
        rm -rf "$scratch"
        exit 1
    fi
    rm -rf "$scratch"
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    echo "fuzz_$target: $runs inputs in ${seconds} s, no finding"
done
