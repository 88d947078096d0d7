#!/usr/bin/env bash
# Every asset damaged in turn, four ways (missing, empty, random bytes of the same size, cut to a third):
# the real game starts on its own Xvfb, takes a scripted run through the title, the menu and a few seconds
# of play (arrows, Space, P twice, M twice, S twice) and must exit 0 on Escape. Too slow for the default
# suite (about 7 s a case); a sanitized binary also checks each run for invalid accesses and leaks.
#   bash tools/damaged_assets.sh <game binary> <repo root> [jobs, default 2] [asset name...]
set -euo pipefail
source "$(dirname "$0")/lib/display.sh"
(($# >= 2)) && [[ -x $1 && -d $2/assets ]] || { echo "usage: $0 <game binary> <repo root> [jobs] [asset...]" >&2; exit 2; }
GAME=$(readlink -f "$1") ROOT=$(readlink -f "$2") JOBS=${3:-2}
assets=("${@:4}")
((${#assets[@]})) || mapfile -t assets < <(cd "$ROOT/assets" && find . -type f ! -name 'highscore.txt*' -printf '%P\n' | sort && echo highscore.txt)
WORK=$(mktemp -d "${TMPDIR:-/tmp}/glimmora-damaged.XXXXXX") ARTIFACTS=$(dirname "$GAME")/damaged-assets
export ALSOFT_DRIVERS=null
trap 'jobs -p | xargs -r kill 2> /dev/null; rm -rf "$WORK"' EXIT
CONVERT=/usr/bin/convert && [[ -x $CONVERT ]] || CONVERT=convert

running() { local s; read -r _ _ s _ 2> /dev/null < "/proc/$1/stat" && [[ $s != Z ]]; }
mapped() { xwininfo -root -children 2> /dev/null | grep -q '"Glimmora Game": '; }
# Polls a check for up to 30 s while the game runs.
await() { local i; for ((i = 0; i < 200; ++i)); do "$@" && return 0; running "$pid" || return 1; sleep 0.15; done; return 1; }
keys() { local k; for k; do xdotool key "$k"; sleep 0.2; done; }
damage() { # file way
    local size; size=$(stat -c %s "$1" 2> /dev/null || echo 0)
    case $2 in
        missing) rm -f "$1" ;;
        empty) rm -f "$1" && : > "$1" ;;
        random) rm -f "$1" && head -c "$size" /dev/urandom > "$1" ;;
        third) head -c $((size / 3)) "$1" > "$1.cut" && rm -f "$1" && mv "$1.cut" "$1" ;;
    esac
}
# Play was reached when the screen, shrunk, is nearer the playing background than the menu and title pages
# (each of them black where it is the damaged asset).
reached_play() {
    import -display "$DISPLAY" -window root -resize '480x270!' -depth 8 "$2" 2> /dev/null || return 1
    local page best='' nearest=''
    for page in background menu_page start_page; do
        local ref=$WORK/ref-$page.miff && [[ $1 == $page.png ]] && ref=$WORK/ref-black.miff
        local d && d=$($CONVERT "$2" "$ref" -metric RMSE -compare -format '%[distortion]' info: 2> /dev/null) || return 1
        if [[ -z $best ]] || awk -v d="$d" -v b="$best" 'BEGIN { exit !(d < b) }'; then best=$d nearest=$page; fi
    done
    [[ $nearest == background ]]
}

# One case; prints "asset way result detail".
run_case() {
    local asset=$1 way=$2 dir=$WORK/$1-$2 status=0 play=no
    mkdir -p "$dir" && cp -al "$ROOT/assets" "$dir/assets" && rm -f "$dir/assets/highscore.txt"*
    printf 1230 > "$dir/assets/highscore.txt"
    [[ $asset == none ]] || damage "$dir/assets/$asset" "$way"
    (cd "$dir" && exec "$GAME") > "$dir/out" 2> "$dir/err" &
    pid=$!
    if await mapped; then
        # Twice each, a little apart, in case the first comes before the window has the focus.
        xdotool mousemove 0 0 && sleep 1 && keys space && sleep 0.5 && keys space && sleep 1.3
        # The start button, held a moment: the menu acts on the last event while the pointer is on it.
        for _ in 1 2; do xdotool mousemove 880 490 mousedown 1 sleep 0.3 mouseup 1 mousemove 0 0 && sleep 0.5; done
        sleep 1
        keys Left Left Down Right Down Up space Down p && sleep 0.5 && keys p m m s s Right Down
        reached_play "$asset" "$dir/play.miff" && play=yes
        xdotool key Escape
    fi
    local i; for ((i = 0; i < 200 && $(running "$pid" && echo 1 || echo 0); ++i)); do sleep 0.15; done
    if running "$pid"; then kill -9 "$pid"; wait "$pid" 2> /dev/null; echo "$asset $way FAIL hung"; return; fi
    wait "$pid" || status=$?
    if ((status != 0)) || grep -q 'Sanitizer\|runtime error' "$dir/err"; then
        mkdir -p "$ARTIFACTS/$asset-$way" && cp -a "$dir/err" "$dir/assets/$asset" "$ARTIFACTS/$asset-$way/" 2> /dev/null
        echo "$asset $way FAIL status=$status play=$play (stderr and file in $ARTIFACTS/$asset-$way)"
    else
        echo "$asset $way ok play=$play"
    fi
    rm -rf "$dir"
}

# A worker: its own Xvfb, every JOBS-th case; the first worker starts with the intact assets, to show the
# script reaches play at all.
worker() {
    local n=$1 case=0 asset way
    display_start 1920 1080 -noreset
    {
        if ((n == 0)); then run_case none intact; fi
        for asset in "${assets[@]}"; do
            for way in missing empty random third; do
                if ((case++ % JOBS == n)); then run_case "$asset" "$way"; fi
            done
        done
    } > "$WORK/results$n"
    display_stop
}

for page in background menu_page start_page; do
    $CONVERT "$ROOT/assets/$page.png" -alpha off -resize '480x270!' -depth 8 "$WORK/ref-$page.miff"
done
$CONVERT -size 480x270 xc:black -depth 8 "$WORK/ref-black.miff"
start=$SECONDS
for ((n = 0; n < JOBS; ++n)); do worker "$n" & done
wait
sort "$WORK"/results* | tee "$WORK/all"
total=$(grep -vc '^none ' "$WORK/all") failed=$(grep -c ' FAIL' "$WORK/all" || true) noplay=$(grep -v '^none ' "$WORK/all" | grep -c 'play=no' || true)
grep -q '^none intact ok play=yes' "$WORK/all" || { echo "the intact assets did not reach play: the script is broken"; exit 1; }
echo "damaged assets: $total cases, $((total - failed)) exited 0, $failed failed, $noplay never reached play, $((SECONDS - start)) s"
((failed == 0)) && exit 0 || exit 1
