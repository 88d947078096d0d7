#!/usr/bin/env bash
# Makes each one-line slip of a list, one at a time, in a scratch copy of the game; rebuilds; runs the
# in-process tests and the golden replay; and prints which slips no test noticed. Run on demand (it takes
# a while), from a built checkout (`bash tools/setup.sh --tests`):
#   bash tools/mutate.sh [list]      default tools/mutations.txt; one slip a line, four fields split by
#                                    tabs: file, its text, the slip, what the slip would break
# Exit status: 0 when every slip was noticed, 1 when some survived, 2 when the list or the build is wrong.
set -euo pipefail
cd "$(dirname "$0")/.."
list=$(readlink -f "${1:-tools/mutations.txt}")
work=${TMPDIR:-/tmp}/glimmora-mutate
[[ -n ${DISPLAY:-} ]] ||
    { source tools/lib/display.sh; ALSOFT_DRIVERS=null display_run 1920x1080 bash "$0" "$list"; exit; }

# A copy of the sources that is never the checkout, built once; each slip then rebuilds what it touched.
# A snapshot of the checkout as it is now (a later edit there changes nothing here), restored from after each slip.
rm -rf "$work/copy" "$work/pristine" "$work/build" && mkdir -p "$work/copy" "$work/pristine"
git ls-files -z --cached --others --exclude-standard | tar --null -T - --ignore-failed-read -cf - 2> /dev/null |
    tee >(tar -C "$work/pristine" -xf -) | tar -C "$work/copy" -xf -
targets=(game_tests hud_tests app_tests glimmora-replay)
# Optimised a little and without debug information, linked by gold: each slip relinks four programs.
cmake -S "$work/copy" -B "$work/build" -DCMAKE_BUILD_TYPE= -DCMAKE_CXX_FLAGS=-O1 -DCMAKE_EXE_LINKER_FLAGS=-fuse-ld=gold \
    -DGLIMMORA_BUILD_TESTS=ON > /dev/null
build() { cmake --build "$work/build" -j"$(nproc)" --target "${targets[@]}" > "$work/build.log" 2>&1; }
# The suite in the order of its speed; the first failure ends it. A slip that hangs a test is noticed too.
noticed() {
    local t
    for t in game_tests hud_tests app_tests; do
        (cd "$work/copy" && exec timeout 300 "$work/build/tests/$t" --gtest_brief=1) > "$work/test.log" 2>&1 || return 0
    done
    (cd "$work/copy" && timeout 300 "$work/build/glimmora-replay" tests/replay/golden.replay tests/replay/golden.txt \
        > "$work/test.log" 2>&1) || return 0
    return 1
}
build || { echo "the unchanged copy does not build: see $work/build.log" >&2; exit 2; }
! noticed || { echo "the unchanged copy fails its tests: see $work/test.log" >&2; exit 2; }

total=0 killed=0 survived=() status=0
while IFS=$'\t' read -r file text slip what || [[ -n $file ]]; do
    [[ -z $file || $file == \#* ]] && continue
    total=$((total + 1))
    # Exactly one place must read `text`, or the list has gone stale.
    if ! TEXT=$text SLIP=$slip perl -0777 -i -pe '$n = s/\Q$ENV{TEXT}\E/$ENV{SLIP}/g; END { exit($n == 1 ? 0 : 3) }' \
        "$work/copy/$file"; then
        echo "STALE     $file: '$text' is not there exactly once" && status=2
    elif ! build; then
        echo "NO BUILD  $file: $what" && status=2
    elif noticed; then
        echo "killed    $file: $what" && killed=$((killed + 1))
    else
        echo "SURVIVED  $file: $what" && survived+=("$file: $what")
    fi
    cp "$work/pristine/$file" "$work/copy/$file"
done < "$list"
build

echo "$killed of $total slips noticed"
((${#survived[@]} == 0)) || { printf 'survived: %s\n' "${survived[@]}"; ((status)) || status=1; }
exit $status
