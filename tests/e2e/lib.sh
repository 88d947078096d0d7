# End-to-end helpers, sourced with the test's arguments (game binary, repository root); waits poll to a deadline.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../../tools/lib/display.sh"

DEADLINE=30      # seconds any awaited condition may take
PAGE_TOL=0.04 STABLE_TOL=0.004 # RMSE, 0 (equal) to 1: a screen against its picture; two shots of a resting screen
MIN_FADE=0.5     # least brightness a finished fade-in may stop at (it depends on frame timing)
TITLE="Glimmora Game"
CONVERT=/usr/bin/convert && [[ -x $CONVERT ]] || CONVERT=convert # should another convert come first on PATH
export MAGICK_THREAD_LIMIT=1                                       # the game needs the other core more

log() { printf '[%s %3ds] %s\n' "$NAME" "$SECONDS" "$*" >&2; }
# Checks fail by status, and an empty number (from a tool that failed) never passes.
below() { awk -v a="$1" -v b="$2" 'BEGIN { exit !(a != "" && b != "" && a + 0 < b + 0) }'; }
tells_apart() { below "$(awk -v t="$2" 'BEGIN { print 2 * t }')" "$1"; } # $1 is over twice the tolerance $2
running() { local s; read -r _ _ s _ 2> /dev/null < "/proc/$1/stat" && [[ $s != Z ]]; } # a zombie has exited

NAME=$(basename "$0" .sh)
(($# == 2)) && [[ -x $1 && -d $2/assets ]] || { echo "usage: bash $NAME.sh <game binary> <repo root>" >&2; exit 2; }
type -P Xvfb xdotool xwininfo import identify > /dev/null || { echo "[$NAME] needs X tools and ImageMagick" >&2; exit 2; }
GAME=$(readlink -f "$1") ROOT=$(readlink -f "$2") ASSETS=$(readlink -f "$2/assets")
OUT=$(dirname "$GAME") && [[ -w $OUT ]] || OUT=${TMPDIR:-/tmp}/glimmora-e2e # failure screenshots go beside the binary
E2E_TMP=$(mktemp -d "${TMPDIR:-/tmp}/glimmora-e2e.XXXXXX") GAME_PID='' XVFB_PID='' SHOT='' DETAIL=''
cleanup() { local s=$?; set +e; trap - ERR; game_kill; xvfb_stop; rm -rf "$E2E_TMP"; ((s)) || log passed; exit $s; }
trap cleanup EXIT && trap 'exit 130' INT && trap 'exit 143' TERM
# set -e alone would end a test without a word.
set -o errtrace && trap 'echo "[$NAME] command failed with status $? (line $LINENO): $BASH_COMMAND" >&2' ERR
# The menu buttons as the menu appears, the start button holding the keyboard's focus in its hover look: design
# rectangles "x y w h", and a design-size layer of them all.
BUTTON_RECTS=() layer=()
for entry in "start_game_orange 763 455" "instructions_gary 761 638" "about_gray 797 822" "mquit 916 944"; do
    read -r name x y <<< "$entry" && BUTTON_RECTS+=("$x $y $(identify -format '%w %h' "$ASSETS/$name.png")")
    layer+=("$ASSETS/$name.png" -geometry "+$x+$y" -composite)
done
$CONVERT -size 1920x1080 xc:none "${layer[@]}" "$E2E_TMP/buttons.miff"

# Ends the test with a message, a screenshot of the moment, the last one checked and the game's stderr.
fail() {
    set +e; local keep=$OUT/e2e-artifacts/$NAME/$(date +%H%M%S)
    echo "FAIL [$NAME]: $*" && mkdir -p "${keep%/*}"
    [[ -n $XVFB_PID ]] && import -window root "$keep-failure.png" 2> /dev/null && echo "  screenshot: $keep-failure.png"
    [[ -f $SHOT ]] && $CONVERT "$SHOT" "$keep-last-checked.png" && echo "  last one checked: $keep-last-checked.png"
    [[ -s $E2E_TMP/game.err ]] && echo "  the game's stderr (end):" && tail -n 12 "$E2E_TMP/game.err" | sed 's/^/    /'
    exit 1
} >&2

# Polls a check until it passes; fails at the deadline, or once the game is gone and the check still fails.
wait_for() {
    local what=$1 deadline=$((${EPOCHREALTIME//[^0-9]/} + DEADLINE * 1000000)) status=0 # µs, in any locale
    shift && DETAIL=''
    until "$@"; do
        [[ -z $GAME_PID ]] || running "$GAME_PID" || "$@" || { wait "$GAME_PID" || status=$?
            GAME_PID='' && fail "the game exited with status $status while waiting for: $what"; }
        ((${EPOCHREALTIME//[^0-9]/} < deadline)) || fail "timed out ($DEADLINE s) waiting for: $what${DETAIL:+ ($DETAIL)}"
        sleep 0.15
    done
    log "$what${DETAIL:+: $DETAIL}"
}

# A private Xvfb of the given size (tools/lib/display.sh), kept as it is between clients. A third argument, WxH+X+Y,
# is where the game's window goes when it covers only part of the screen: checks look there. Further arguments go
# to Xvfb.
xvfb_start() {
    place_window "${3:-${1}x$2+0+0}" && PART=${3:+1}
    display_launch "$1" "$2" -noreset "${@:4}" && XVFB_PID=$DISPLAY_PID
    wait_for "Xvfb ${1}x$2 to take clients" xvfb_ready
    # The pointer starts at the centre, over the start button: park it in a corner.
    xdotool mousemove 0 0 && log "Xvfb ${1}x$2 on $DISPLAY"
}
# Where checks look for the game's window, WxH+X+Y: SIZE, SCREEN_W and SCREEN_H are the window's.
place_window() { PLACE=$1 SHOT_FROM=root && SIZE=${PLACE%%+*} && SCREEN_W=${SIZE%x*} SCREEN_H=${SIZE#*x}; }
xvfb_ready() { local s=0 && display_ready || s=$?; ((s != 2)) || fail "no Xvfb: $(< "$DISPLAY_DIR/log")"; ((s == 0)); }
xvfb_stop() { display_stop; XVFB_PID=''; }

game_windows() { xwininfo -root -children 2> /dev/null | sed -n "s/^ *\(0x[0-9a-f]*\) \"$TITLE\": .*/\1/p"; }
# Without an id, xwininfo would wait for a click.
window_mapped() { local id && id=$(game_windows | head -n 1) && [[ -n $id ]] && xwininfo -id "$id" | grep -q IsViewable; }
# Starts the game and waits for its one window to cover the screen. Arguments: working directory, NAME=VALUE...
start_game() {
    (cd "$1" && exec env "${@:2}" "$GAME") > "$E2E_TMP/game.out" 2> "$E2E_TMP/game.err" &
    GAME_PID=$! && wait_for "a mapped window titled \"$TITLE\" (game started in $*)" window_mapped
    local ids && ids=$(game_windows)
    [[ $ids != *$'\n'* ]] || fail "expected one top-level window titled \"$TITLE\", found $(wc -l <<< "$ids")"
    # On a screen of several monitors the window is made for the whole screen, then moved onto one
    wait_for "the window to cover $PLACE" window_placed "$ids"
    [[ -z $PART ]] || SHOT_FROM=$ids # shots of the whole wider screen would slow the game's frames
}
window_placed() { # on the root window
    eval "$(xdotool getwindowgeometry --shell "$1")" && DETAIL="at ${WIDTH}x$HEIGHT+$X+$Y" && [[ ${WIDTH}x$HEIGHT+$X+$Y == "$PLACE" ]]
}
# Waits for the game to end and sets STATUS to its exit status. Under the sanitizers, LeakSanitizer's own tracer
# now and then crashes while it stops the threads at exit (a fault of the tool, seen here once in many runs)
# and ends the program with status 1: that run's leak check is lost, not failed, and the exit counts as the 0 it was.
game_ended() {
    STATUS=0 && wait_for "the game to exit after $1" eval '! running "$GAME_PID"' && { wait "$GAME_PID" || STATUS=$?; }
    GAME_PID=''
    if ((STATUS == 1)) && grep -q '^Tracer caught signal' "$E2E_TMP/game.err" &&
        grep -q 'LeakSanitizer has encountered a fatal error' "$E2E_TMP/game.err" &&
        ! grep -q 'ERROR: [A-Za-z]*Sanitizer\|runtime error' "$E2E_TMP/game.err"; then
        log "LeakSanitizer's tracer crashed at exit: this run's leak check is lost" && STATUS=0
    fi
}
quit_game() {
    xdotool key Escape && game_ended Escape
    ((STATUS == 0)) || fail "the game exited with status $STATUS, expected 0"; log "exit status 0"
}
game_kill() { # politely, then for good
    [[ -n $GAME_PID ]] || return 0
    kill "$GAME_PID" && for _ in {1..50}; do running "$GAME_PID" && sleep 0.1; done
    kill -9 "$GAME_PID"; wait "$GAME_PID"; GAME_PID=''
} 2> /dev/null

# A screenshot, cut by any operations given, into $E2E_TMP/<name>.ppm and SHOT; an old one is never judged again.
shot() { SHOT=$E2E_TMP/$1.ppm && rm -f "$SHOT" && import -window "$SHOT_FROM" "${@:2}" "$SHOT" 2> /dev/null; }
# RMSE of two pictures after the same operations (a crop, a mask) on both; mean brightness, 0 to 1.
rmse() { $CONVERT \( "$1" -alpha off "${@:3}" \) \( "$2" -alpha off "${@:3}" \) -metric RMSE -compare \
    -format '%[distortion]' info: 2> /dev/null; }
mean() { $CONVERT "$1" -alpha off "${@:2}" -colorspace gray -format '%[fx:mean]' info:; }
stretched() { # an asset as the game stretches it to the screen: smoothed, each pixel a bilinear mix of texels
    local out=$E2E_TMP/ref-${1##*/}-$SIZE.miff
    [[ -f $out ]] || $CONVERT "$1" -alpha off -interpolate bilinear -interpolative-resize "$SIZE!" -depth 8 "$out" &&
        echo "$out"
}
# Sets BOX to the screen corners "left top right bottom" of menu buttons, a pixel inside what is drawn, and CROP
# to cut them out. Arguments: first button (0..3), count (all the rest).
buttons_box() {
    local rect x y w h l=1920 t=1080 r=0 b=0
    for rect in "${BUTTON_RECTS[@]:$1:${2:-4}}"; do
        read -r x y w h <<< "$rect"
        l=$((x < l ? x : l)) t=$((y < t ? y : t)) r=$((x + w > r ? x + w : r)) b=$((y + h > b ? y + h : b))
    done
    BOX=($((l * SCREEN_W / 1920 + 1)) $((t * SCREEN_H / 1080 + 1)) $((r * SCREEN_W / 1920 - 1)) $((b * SCREEN_H / 1080 - 1)))
    CROP=(-crop "$((BOX[2] - BOX[0]))x$((BOX[3] - BOX[1]))+${BOX[0]}+${BOX[1]}" +repage)
}
# Prints the path of a page at fade brightness f over black, under the opaque menu buttons if buttons=1.
# Arguments: picture f buttons name.
faded() {
    local layer=() && (($3)) && layer=(\( "$E2E_TMP/buttons.miff" -filter point -resize "$SIZE!" \) -composite)
    $CONVERT "$(stretched "$1")" -evaluate multiply "$2" "${layer[@]}" -alpha off -depth 8 "$E2E_TMP/$4.miff" &&
        echo "$E2E_TMP/$4.miff"
}

# Waits until a page has faded in and rests, at some brightness of at least MIN_FADE, with the menu buttons if
# buttons=1. Arguments: description picture buttons. Leaves SETTLED, its reference SETTLED_REF and SETTLED_FADE.
wait_page() {
    PAGE=$2 WITH_BUTTONS=$3 MASK=() && buttons_box 0
    if (($3)); then
        MASK=(-fill black -draw "rectangle $((BOX[0] - 2)),$((BOX[1] - 2)) $((BOX[2] + 2)),$((BOX[3] + 2))")
        local d && d=$(rmse "$(faded "$2" 1 0 plain)" "$(faded "$2" 1 1 with-buttons)" "${CROP[@]}")
        tells_apart "$d" "$PAGE_TOL" || fail "the menu buttons barely differ from the page under them ($d)"
    fi
    wait_for "$1" page_shown
}
page_shown() {
    # Stillness first: it is the cheapest look, and a fade changes every frame.
    local first d f; shot page-a; first=$SHOT; shot page-b
    d=$(rmse "$first" "$SHOT"); DETAIL="still changing ($d)" && below "$d" "$STABLE_TOL" || return 1
    # The brightness reached, from the means outside the buttons.
    f=$(awk -v a="$(mean "$SHOT" "${MASK[@]}")" -v b="$(mean "$(stretched "$PAGE")" "${MASK[@]}")" \
        'BEGIN { if (a == "" || b <= 0) exit 1; f = a / b; printf "%.4f\n", (f > 1 ? 1 : f) }') || return 1
    SETTLED_REF=$(faded "$PAGE" "$f" "$WITH_BUTTONS" expected) || return 1
    d=$(rmse "$SHOT" "$SETTLED_REF"); DETAIL="brightness $f, difference $d (tolerance $PAGE_TOL)"
    below "$d" "$PAGE_TOL" && ! below "$f" "$MIN_FADE" || return 1
    d=$(rmse "$SHOT" "$SETTLED_REF" "${CROP[@]}"); DETAIL+=", in the buttons' area $d"
    below "$d" "$PAGE_TOL" && SETTLED=$SHOT SETTLED_FADE=$f
}
wait_title() { wait_page "the title page, faded in" "$ASSETS/start_page.png" 0; }
wait_menu() { wait_page "the menu page with its buttons" "$ASSETS/menu_page.png" 1; }
start_to_menu() { start_game "$@"; wait_title; xdotool key space; wait_menu; } # arguments: as start_game

# A plain click on the start button, then the other buttons vanish (its own look changes under the pointer
# anyway). Call after wait_menu.
press_start() {
    buttons_box 0 1 && xdotool mousemove $(((BOX[0] + BOX[2]) / 2)) $(((BOX[1] + BOX[3]) / 2)) click 1
    buttons_box 1 && wait_for "the menu buttons to vanish after pressing start game" buttons_gone
}
buttons_gone() {
    shot buttons-gone; local d && d=$(rmse "$SHOT" "$SETTLED_REF" "${CROP[@]}")
    DETAIL="the other buttons' area differs from them by $d" && below "$PAGE_TOL" "$d"
}

# Waits for the playing screen's best-score field to show six digits (at 1920 x 1080).
BEST_FIELD=(-crop 150x40+758+50 +repage) # six HUD places 25 apart from (758, 50)
best_field() { # the background under the given six digits, cut to the field
    local args=("$ASSETS/background.png") i
    for i in {0..5}; do args+=("$ASSETS/digit_${1:i:1}.png" -geometry "+$((758 + 25 * i))+50" -composite); done
    $CONVERT "${args[@]}" "${BEST_FIELD[@]}" -alpha off "$E2E_TMP/best-$1.miff" && echo "$E2E_TMP/best-$1.miff"
}
best_shown() {
    shot best "${BEST_FIELD[@]}"; local d z && d=$(rmse "$SHOT" "$1") z=$(rmse "$SHOT" "$2")
    DETAIL="the field differs from the best score by $d, from 000000 by $z" && below "$d" "$PAGE_TOL" && below "$d" "$z"
}
wait_best() { wait_for "the stored best score $1 on the playing screen" best_shown "$(best_field "$1")" "$(best_field 000000)"; }
