#!/usr/bin/env bash
# The best score's save as the game makes it, on an idle disk and while another process writes a large
# file to the same disk (4 GiB through the page cache, flushed as it goes).
#   tools/bench/save.sh [folder on the disk to measure, default build-bench/]
set -euo pipefail
cd "$(dirname "$0")/../.."
cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=RelWithDebInfo -DGLIMMORA_BENCH=ON -DGLIMMORA_BUILD_TESTS=OFF > /dev/null
cmake --build build-bench -j"$(nproc)" --target save_bench > /dev/null
folder=$(readlink -f "${1:-build-bench}")/save-bench && mkdir -p "$folder"
echo "idle disk ($folder):"
build-bench/tools/bench/save_bench "$folder"
echo "while another process writes 4 GiB to the same disk:"
dd if=/dev/zero of="$folder/large" bs=1M count=4096 conv=fsync status=none &
writer=$! && trap 'kill $writer 2> /dev/null; wait $writer 2> /dev/null; rm -rf "$folder"' EXIT
sleep 2 # the writer's dirty pages first fill the cache
build-bench/tools/bench/save_bench "$folder"
running() { kill -0 "$writer" 2> /dev/null; }
running && echo "(the large write was still going at the end)" || echo "(the large write ended before the end)"
