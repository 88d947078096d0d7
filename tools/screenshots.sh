#!/usr/bin/env bash
# Screenshots of every screen for docs/: title, menu, instructions, about, play, paused play, the full board's
# sign of an overflow ending and the end screen, at 1920 x 1080 or another size (names then end in -WxH).
# Needs the built game (tools/setup.sh) and Xvfb, xdotool and ImageMagick (tools/setup.sh --tests).
#   tools/screenshots.sh [output folder, default docs] [WxH, default 1920x1080]
set -euo pipefail
cd "$(dirname "$0")/.."
source tools/lib/display.sh
out=$(mkdir -p "${1:-docs}" && cd "${1:-docs}" && pwd)
[[ -x build/glimmora-game ]] || { echo "build the game first: bash tools/setup.sh" >&2; exit 1; }

# The best score decides which end screen shows; keep the player's own file as it was.
saved=$(mktemp) && had_score=0
[[ -f assets/highscore.txt ]] && cp assets/highscore.txt "$saved" && had_score=1
restore() { if ((had_score)); then cp "$saved" assets/highscore.txt; else rm -f assets/highscore.txt; fi; rm -f "$saved"; }
trap restore EXIT
echo 999999 > assets/highscore.txt

size=${2:-1920x1080} && suffix=$([[ $size == 1920x1080 ]] || echo "-$size")
ALSOFT_DRIVERS=null OUT=$out SUFFIX=$suffix WIDTH=${size%x*} display_run "$size" bash -c '
    set -euo pipefail
    shot() { sleep "$2"; import -window root "$OUT/$1$SUFFIX.png"; echo "  $OUT/$1$SUFFIX.png"; }
    mean() { convert "$1" -colorspace gray -format "%[fx:mean]" info:; }
    # The menu reads a click from the last event: hold the button until the screen changes.
    press() {
        import -window root "$OUT/.before.png"
        local before && before=$(mean "$OUT/.before.png")
        xdotool mousemove "$1" "$2" sleep 0.3 mousedown 1
        for wait in $(seq 50); do
            import -window root "$OUT/.after.png"
            awk -v a="$(mean "$OUT/.after.png")" -v b="$before" "BEGIN { exit !((a - b) ^ 2 > 0.003 ^ 2) }" && break
            sleep 0.2
        done
        xdotool mouseup 1 sleep 0.1 mousemove 0 0
        rm -f "$OUT/.before.png" "$OUT/.after.png"
    }
    # A fade stops where the last frame of its second leaves it: on a busy machine, start again.
    for try in 1 2 3 4 5; do
        ./build/glimmora-game & game=$!
        trap "kill $game 2> /dev/null || true" EXIT
        xdotool mousemove 0 0
        shot title 3
        awk -v a="$(mean "$OUT/title$SUFFIX.png")" -v b="$(mean assets/start_page.png)" "BEGIN { exit !(a > 0.95 * b) }" &&
            break
        kill $game; wait $game || true
    done
    xdotool key space; sleep 1; xdotool mousemove 5 5 sleep 0.1 mousemove 0 0; shot menu 2
    # The menu from the keyboard, its focus on the start button as it appears
    xdotool key Down Return; shot instructions 1
    xdotool key Escape; sleep 1
    xdotool key Down Return; shot about 1
    xdotool key Escape; sleep 1
    xdotool key Up Up Return; sleep 2
    # Gems dropped, then pulled column by column until the thread is full: the playing shot shows a board,
    # a thread and the HUD; throwing the thread away scores 40, so the end screen shows its result panel.
    xdotool keydown space; sleep 12; xdotool keyup space; sleep 0.3
    for step in 1 2 3 4 5 6; do xdotool key Left; sleep 0.1; done
    for stop in 0 1 2 3 4 5 6 7 8 9 10 11; do
        for pull in 1 2 3; do xdotool key Down; sleep 0.1; done
        xdotool key Right; sleep 0.1
    done
    xdotool key Left; sleep 0.3
    shot playing 0.5
    xdotool key p; shot paused 0.5; xdotool key p; sleep 0.2
    xdotool key Right; sleep 0.2; xdotool key Up; sleep 1
    # Hard drops until a gem rests in the top row (three looks in a row), then let go: Space on the end
    # screen, which follows six seconds later, would leave it.
    k=$((WIDTH / 1920)) && strip=(-crop $((1380 * k))x$((40 * k))+$((270 * k))+$((118 * k)) +repage)
    top_row_taken() {
        import -window root "${strip[@]}" "$OUT/.row.png"
        local d && d=$(convert "$OUT/.row.png" \( assets/background.png -resize "${WIDTH}x" "${strip[@]}" \) -compose difference \
            -composite -colorspace gray -format "%[fx:maxima]" info:)
        rm -f "$OUT/.row.png" && awk -v d="$d" "BEGIN { exit !(d > 0.3) }"
    }
    xdotool keydown space
    for ((look = 0, seen = 0; look < 600 && seen < 3; ++look)); do
        if top_row_taken; then seen=$((seen + 1)); else seen=0; fi
        sleep 0.1
    done
    xdotool keyup space
    shot board-full 0.5
    shot end 12
    kill $game; wait $game || true
'
