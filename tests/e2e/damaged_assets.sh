#!/usr/bin/env bash
# Every asset damaged in turn, four ways (missing, empty, random bytes of the same size, cut to a third):
# the real game starts on its own Xvfb, takes a scripted run through the title, the menu and a few seconds
# of play (arrows, Space, P twice, M twice, S twice) and must exit 0 on Escape. Too slow for the default
# suite (about 7 s a case); a sanitized binary also checks each run for invalid accesses and leaks.
#   bash tests/e2e/damaged_assets.sh <game binary> <repo root> [jobs, default 2] [asset name...]
set -euo pipefail
(($# >= 2)) && [[ -x $1 && -d $2/assets ]] || { echo "usage: $0 <game binary> <repo root> [jobs] [asset...]" >&2; exit 2; }
GAME=$(readlink -f "$1") ROOT=$(readlink -f "$2") JOBS=${3:-2}
assets=("${@:4}")
((${#assets[@]})) || mapfile -t assets < <(cd "$ROOT/assets" && ls -1 | grep -v '^highscore\.txt' && echo highscore.txt)
WORK=$(mktemp -d "${TMPDIR:-/tmp}/glimmora-damaged.XXXXXX") ARTIFACTS=$(dirname "$GAME")/damaged-assets
export ALSOFT_DRIVERS=null
trap 'kill $(jobs -p) 2> /dev/null; rm -rf "$WORK"' EXIT
CONVERT=/usr/bin/convert && [[ -x $CONVERT ]] || CONVERT=convert
# Outside the HUD, board, thread and pattern, the playing screen shows its background alone.
MASK=(-fill black -draw "rectangle 1280,0 1919,140 rectangle 40,40 1280,120 rectangle 40,100 1860,1079")

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
# The playing screen, unless it matches the background (black, if the background itself is damaged).
reached_play() {
    local ref=$WORK/ref-background.miff && [[ $1 == background.png ]] && ref=$WORK/ref-black.miff
    import -display "$DISPLAY" -window root "$2" 2> /dev/null || return 1
    local d && d=$($CONVERT \( "$2" -alpha off "${MASK[@]}" \) \( "$ref" "${MASK[@]}" \) -metric RMSE -compare \
        -format '%[distortion]' info: 2> /dev/null) && awk -v d="$d" 'BEGIN { exit !(d < 0.02) }'
}

# One case; prints "asset way result detail".
run_case() {
    local asset=$1 way=$2 dir=$WORK/$1-$2 status=0 play=no
    mkdir -p "$dir" && cp -al "$ROOT/assets" "$dir/assets" && rm -f "$dir/assets/highscore.txt"*
    printf 1230 > "$dir/assets/highscore.txt"
    damage "$dir/assets/$asset" "$way"
    (cd "$dir" && exec "$GAME") > "$dir/out" 2> "$dir/err" &
    pid=$!
    if await mapped; then
        xdotool mousemove 0 0 && keys space && sleep 1.3
        # The start button, pressed while the menu stands (the menu reads clicks from the last event).
        xdotool mousemove 880 490 mousedown 1 && sleep 0.2 && xdotool mouseup 1 mousemove 0 0 && sleep 1.5
        keys Left Left Down Right Down Up space Down p && sleep 0.5 && keys p m m s s Right Down
        reached_play "$asset" "$dir/play.png" && play=yes
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

# A worker: its own Xvfb, every JOBS-th case.
worker() {
    local n=$1 case=0 asset way
    Xvfb -displayfd 3 -screen 0 1920x1080x24 -nolisten tcp -noreset 3> "$WORK/display$n" 2> /dev/null &
    local xvfb=$! && until grep -qx '[0-9]\+' "$WORK/display$n" 2> /dev/null; do sleep 0.1; done
    export DISPLAY=:$(< "$WORK/display$n")
    for asset in "${assets[@]}"; do
        for way in missing empty random third; do
            if ((case++ % JOBS == n)); then run_case "$asset" "$way"; fi
        done
    done > "$WORK/results$n"
    kill "$xvfb"
}

$CONVERT "$ROOT/assets/background.png" -alpha off -filter point -resize '1920x1080!' -depth 8 "$WORK/ref-background.miff"
$CONVERT -size 1920x1080 xc:black -depth 8 "$WORK/ref-black.miff"
start=$SECONDS
for ((n = 0; n < JOBS; ++n)); do worker "$n" & done
wait
sort "$WORK"/results* | tee "$WORK/all"
total=$(wc -l < "$WORK/all") failed=$(grep -c ' FAIL' "$WORK/all" || true) noplay=$(grep -c 'play=no' "$WORK/all" || true)
echo "damaged assets: $total cases, $((total - failed)) exited 0, $failed failed, $noplay never reached play, $((SECONDS - start)) s"
((failed == 0))
