# Shared helpers for the end-to-end tests of the real game binary.
#
# Each test runs its own Xvfb of the size it needs, starts the game on it from a
# chosen working directory, drives it with real X input (xdotool) and judges what
# the screen shows from screenshots (ImageMagick). Nothing here sleeps for a fixed
# time to be correct: every wait polls a condition until a generous deadline, and
# a missed deadline fails with a message and a screenshot kept in the build folder.
#
# Usage, at the top of a test script run as `bash test_x.sh <game binary> <repository root>`:
#   source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
#   e2e_init "$@"
#
# Helpers whose output is captured with $(...) run in a subshell, where e2e_fail
# would end only that subshell: they return a failure status instead.
#
# Environment: E2E_TRACE=1 logs every look that did not yet show what a wait
# waits for; E2E_KEEP_TMP=1 keeps the scratch folder; E2E_DEADLINE sets the
# seconds a wait may take (30).

set -euo pipefail

E2E_POLL=0.15   # seconds between two looks at a condition
E2E_DEADLINE=${E2E_DEADLINE:-30} # seconds a condition may take before the test fails

# Tolerances, as root-mean-square differences from 0 (equal) to 1.
E2E_PAGE_TOLERANCE=0.04    # a screen against the picture it should show
E2E_STABLE_TOLERANCE=0.004 # two screenshots of a screen that no longer changes
E2E_MIN_FADE=0.5           # least brightness a finished fade-in may end at

# Gem pictures by code, 1 to 10; code 0 is the empty thread segment.
E2E_GEMS=(thread_segment gem_90 gem_80 gem_70 gem_60 gem_50 gem_40 gem_30 gem_20 gem_diamond gem_trash)

# Menu buttons: picture of the normal look and design position (x y).
E2E_BUTTONS=("start_game_gray 763 455" "instructions_gary 761 638" "about_gray 797 822" "mquit 916 944")

E2E_TITLE="Glimmora Game"

e2e_log() { printf '[%s %3ds] %s\n' "$E2E_NAME" "$SECONDS" "$*" >&2; }

# Sets up paths, the scratch folder and the clean-up trap. Arguments: game binary, repository root.
e2e_init()
{
    E2E_NAME=$(basename "${BASH_SOURCE[1]:-$0}" .sh)
    if (($# < 2)); then
        echo "usage: bash $E2E_NAME.sh <glimmora-game binary> <repository root>" >&2
        exit 2
    fi
    GAME=$(readlink -f "$1")
    ROOT=$(readlink -f "$2")
    [[ -x "$GAME" ]] || { echo "[$E2E_NAME] not an executable: $1" >&2; exit 2; }
    [[ -d "$ROOT/assets" ]] || { echo "[$E2E_NAME] no assets/ folder in $2" >&2; exit 2; }
    ASSETS="$ROOT/assets"

    local tool
    for tool in Xvfb xdotool xwininfo import identify; do
        command -v "$tool" > /dev/null || { echo "[$E2E_NAME] missing tool: $tool" >&2; exit 2; }
    done
    # The real ImageMagick, should something else named convert come first on PATH.
    CONVERT=convert
    [[ -x /usr/bin/convert ]] && CONVERT=/usr/bin/convert
    # One thread each: the game needs the other core more than a comparison does.
    export MAGICK_THREAD_LIMIT=1

    E2E_TMP=$(mktemp -d "${TMPDIR:-/tmp}/glimmora-e2e.XXXXXX")
    # Screenshots worth keeping go into the build folder (beside the binary), else TMPDIR.
    E2E_OUTPUT="$(dirname "$GAME")"
    [[ -w "$E2E_OUTPUT" ]] || E2E_OUTPUT="${TMPDIR:-/tmp}/glimmora-e2e"
    E2E_ARTIFACTS="$E2E_OUTPUT/e2e-artifacts/$E2E_NAME"

    GAME_PID=""
    XVFB_PID=""
    SCREEN_W=0
    SCREEN_H=0
    SHOT=""
    E2E_WAIT_DETAIL=""
    trap e2e_cleanup EXIT
    trap 'exit 130' INT
    trap 'exit 143' TERM
    # set -e alone would end a test without a word.
    set -o errtrace
    trap 'echo "[$E2E_NAME] command failed with status $? (line $LINENO): $BASH_COMMAND" >&2' ERR
}

# Stops whatever this test started, keeping the script's exit status.
e2e_cleanup()
{
    local status=$?
    set +e
    trap - ERR
    game_kill
    xvfb_stop
    [[ -n "${E2E_TMP:-}" && -z "${E2E_KEEP_TMP:-}" ]] && rm -rf "$E2E_TMP"
    exit "$status"
}

# Reports a failure with a screenshot of the moment and the game's diagnostics, then exits 1.
e2e_fail()
{
    local stamp
    stamp=$(date +%H%M%S)
    echo "FAIL [$E2E_NAME]: $*" >&2
    mkdir -p "$E2E_ARTIFACTS" 2> /dev/null || true
    if [[ -n "$XVFB_PID" ]] && import -window root "$E2E_ARTIFACTS/failure-$stamp.png" 2> /dev/null; then
        echo "  screenshot of the failure: $E2E_ARTIFACTS/failure-$stamp.png" >&2
    fi
    if [[ -n "$SHOT" && -f "$SHOT" ]] && "$CONVERT" "$SHOT" "$E2E_ARTIFACTS/last-checked-$stamp.png" 2> /dev/null; then
        echo "  last screenshot checked: $E2E_ARTIFACTS/last-checked-$stamp.png" >&2
    fi
    if [[ -s "$E2E_TMP/game.err" ]]; then
        echo "  the game's stderr (end):" >&2
        tail -n 12 "$E2E_TMP/game.err" | sed 's/^/    /' >&2
    fi
    exit 1
}

# Microseconds of wall-clock time, for deadlines (the separator depends on the locale).
e2e_now() { echo "${EPOCHREALTIME//[^0-9]/}"; }

# Polls a command until it succeeds. Arguments: description, deadline in seconds, command...
# Fails at the deadline, and at once if the game died meanwhile. A check may leave
# what it saw last in E2E_WAIT_DETAIL for the failure message.
wait_for()
{
    local what=$1 seconds=$2
    shift 2
    local deadline=$(($(e2e_now) + seconds * 1000000))
    E2E_WAIT_DETAIL=""
    until "$@"; do
        [[ -n "${E2E_TRACE:-}" ]] && e2e_log "waiting for $what: ${E2E_WAIT_DETAIL:-}"
        if [[ -n "$GAME_PID" ]] && ! game_running; then
            local status=0
            wait "$GAME_PID" || status=$?
            GAME_PID=""
            e2e_fail "the game exited with status $status while waiting for: $what"
        fi
        if (($(e2e_now) > deadline)); then
            e2e_fail "timed out after $seconds s waiting for: $what${E2E_WAIT_DETAIL:+ (last look: $E2E_WAIT_DETAIL)}"
        fi
        sleep "$E2E_POLL"
    done
}

# True when a decimal number is below another.
below() { awk -v a="$1" -v b="$2" 'BEGIN { exit !(a + 0 < b + 0) }'; }

# --- X server --------------------------------------------------------------

# Starts a private Xvfb of the given size on a free display and exports DISPLAY.
xvfb_start()
{
    local width=$1 height=$2 fdfile
    fdfile=$(mktemp "$E2E_TMP/display.XXXXXX")
    # The server picks a free display itself and writes its number once it accepts clients.
    Xvfb -displayfd 3 -screen 0 "${width}x${height}x24" -nolisten tcp -noreset \
        3> "$fdfile" > "$E2E_TMP/xvfb.log" 2>&1 &
    XVFB_PID=$!
    local deadline=$(($(e2e_now) + E2E_DEADLINE * 1000000))
    until grep -q '^[0-9][0-9]*$' "$fdfile"; do
        if ! _pid_running "$XVFB_PID"; then
            XVFB_PID=""
            sed 's/^/    /' "$E2E_TMP/xvfb.log" >&2
            e2e_fail "Xvfb ${width}x${height} did not start"
        fi
        (($(e2e_now) > deadline)) && e2e_fail "Xvfb ${width}x${height} not ready after $E2E_DEADLINE s"
        sleep "$E2E_POLL"
    done
    export DISPLAY=":$(head -n 1 "$fdfile")"
    SCREEN_W=$width
    SCREEN_H=$height
    # The pointer starts at the screen's centre, over the start button: park it in a corner.
    xdotool mousemove 0 0
    e2e_log "Xvfb ${width}x${height} on $DISPLAY"
}

xvfb_stop()
{
    if [[ -n "${XVFB_PID:-}" ]]; then
        kill "$XVFB_PID" 2> /dev/null || true
        wait "$XVFB_PID" 2> /dev/null || true
        XVFB_PID=""
    fi
}

# --- The game --------------------------------------------------------------

# Starts the game in the background. Arguments: working directory, then NAME=VALUE
# settings for its environment. Its output goes to $E2E_TMP/game.out and game.err.
game_start()
{
    local dir=$1
    shift
    (cd "$dir" && exec env "$@" "$GAME") > "$E2E_TMP/game.out" 2> "$E2E_TMP/game.err" &
    GAME_PID=$!
    e2e_log "game started in $dir${*:+ with $*}"
}

# True while a process runs (an exited child that is not yet reaped does not count).
_pid_running()
{
    local state=""
    [[ -r /proc/$1/stat ]] || return 1
    read -r _ _ state _ < "/proc/$1/stat" 2> /dev/null || return 1
    [[ "$state" != Z ]]
}

game_running() { [[ -n "$GAME_PID" ]] && _pid_running "$GAME_PID"; }

# Waits for the game to exit and checks its exit status is 0.
game_expect_exit_0()
{
    local pid=$GAME_PID status=0
    local deadline=$(($(e2e_now) + E2E_DEADLINE * 1000000))
    while _pid_running "$pid"; do
        (($(e2e_now) > deadline)) && e2e_fail "the game did not exit within $E2E_DEADLINE s"
        sleep "$E2E_POLL"
    done
    GAME_PID=""
    wait "$pid" || status=$?
    ((status == 0)) || e2e_fail "the game exited with status $status, expected 0"
    e2e_log "the game exited with status 0"
}

# Ends the game if it still runs: politely, then for good.
game_kill()
{
    [[ -n "${GAME_PID:-}" ]] || return 0
    if game_running; then
        kill "$GAME_PID" 2> /dev/null
        local i
        for ((i = 0; i < 50; i++)); do
            game_running || break
            sleep 0.1
        done
        game_running && kill -9 "$GAME_PID" 2> /dev/null
    fi
    wait "$GAME_PID" 2> /dev/null || true
    GAME_PID=""
}

# Prints the ids of the top-level windows titled exactly as the game's.
game_windows()
{
    xwininfo -root -children 2> /dev/null |
        sed -n "s/^ *\(0x[0-9a-fA-F]*\) \"$E2E_TITLE\": .*/\1/p"
}

_game_window_mapped()
{
    local id
    id=$(game_windows | head -n 1)
    [[ -n "$id" ]] && xwininfo -id "$id" 2> /dev/null | grep -q 'Map State: IsViewable'
}

# Waits for the game's window, then checks it is the only one and covers the screen.
expect_one_fullscreen_window()
{
    wait_for "a mapped window titled \"$E2E_TITLE\"" "$E2E_DEADLINE" _game_window_mapped
    local ids count info x y w h
    ids=$(game_windows)
    count=$(grep -c . <<< "$ids" || true)
    ((count == 1)) || e2e_fail "expected one top-level window titled \"$E2E_TITLE\", found $count"
    info=$(xwininfo -id "$ids")
    x=$(sed -n 's/.*Absolute upper-left X: *\(-\{0,1\}[0-9]*\).*/\1/p' <<< "$info")
    y=$(sed -n 's/.*Absolute upper-left Y: *\(-\{0,1\}[0-9]*\).*/\1/p' <<< "$info")
    w=$(sed -n 's/^ *Width: *\([0-9]*\).*/\1/p' <<< "$info")
    h=$(sed -n 's/^ *Height: *\([0-9]*\).*/\1/p' <<< "$info")
    [[ "$x,$y,$w,$h" == "0,0,$SCREEN_W,$SCREEN_H" ]] ||
        e2e_fail "window geometry ${w}x${h}+${x}+${y}, expected the whole screen ${SCREEN_W}x${SCREEN_H}+0+0"
    e2e_log "one window \"$E2E_TITLE\", ${w}x${h}+${x}+${y}"
}

# --- Input -----------------------------------------------------------------

key() { xdotool key "$@"; }

# Scales a design point "x y" to screen pixels.
screen_point()
{
    awk -v x="$1" -v y="$2" -v sx="$SCREEN_W" -v sy="$SCREEN_H" \
        'BEGIN { printf "%d %d\n", x * sx / 1920, y * sy / 1080 }'
}

# Scales a design rectangle "x y w h" to screen pixels, shrunk by a pixel on each
# side so the region stays inside what the game drew there.
screen_box()
{
    awk -v x="$1" -v y="$2" -v w="$3" -v h="$4" -v sx="$SCREEN_W" -v sy="$SCREEN_H" 'BEGIN {
        sx /= 1920; sy /= 1080
        l = int(x * sx) + 1; t = int(y * sy) + 1
        r = int((x + w) * sx) - 1; b = int((y + h) * sy) - 1
        printf "%d %d %d %d\n", l, t, r - l, b - t }'
}

# --- Screenshots and pictures ----------------------------------------------

# Takes a screenshot of the whole screen into $E2E_TMP/<name>.ppm (quick to
# write and read); its path is left in SHOT.
shot()
{
    SHOT="$E2E_TMP/$1.ppm"
    import -window root "$SHOT" 2> /dev/null
}

# Prints the size "W H" of a picture.
picture_size() { identify -format '%w %h\n' "$1"; }

# Root-mean-square difference of two regions. Arguments:
#   image x y w h reference [rx ry]   (the reference region defaults to the same place)
region_rmse()
{
    local img=$1 x=$2 y=$3 w=$4 h=$5 ref=$6 rx=${7:-$2} ry=${8:-$3}
    "$CONVERT" \( "$img" -crop "${w}x${h}+${x}+${y}" +repage \) \
        \( "$ref" -crop "${w}x${h}+${rx}+${ry}" +repage \) \
        -alpha off -metric RMSE -compare -format '%[distortion]' info: 2> /dev/null
}

# Root-mean-square difference of two whole pictures of the same size.
image_rmse()
{
    "$CONVERT" "$1" "$2" -alpha off -metric RMSE -compare -format '%[distortion]' info: 2> /dev/null
}

# Root-mean-square difference of two whole pictures after blacking out the same
# rectangles in both. Arguments: image reference "x0,y0 x1,y1"... (inclusive corners)
masked_rmse()
{
    local img=$1 ref=$2 draw=() corners
    shift 2
    for corners in "$@"; do
        draw+=(-draw "rectangle $corners")
    done
    "$CONVERT" \( "$img" -alpha off -fill black "${draw[@]}" \) \
        \( "$ref" -alpha off -fill black "${draw[@]}" \) \
        -metric RMSE -compare -format '%[distortion]' info: 2> /dev/null
}

# Mean brightness of a region, 0 to 1.
region_mean()
{
    "$CONVERT" "$1" -alpha off -crop "${4}x${5}+${2}+${3}" +repage -colorspace gray -format '%[fx:mean]' info:
}

# An asset picture stretched to the screen as the game draws it (unsmoothed
# textures sample the nearest texel). Prints the path of the cached result.
screen_reference()
{
    local picture=$1 name out
    name=$(basename "$picture" .png)
    out="$E2E_TMP/ref-$name-${SCREEN_W}x${SCREEN_H}.miff"
    if [[ ! -f "$out" ]]; then
        "$CONVERT" "$picture" -alpha off -filter point -resize "${SCREEN_W}x${SCREEN_H}!" -depth 8 "$out" || return 1
    fi
    echo "$out"
}

# The rectangle "x y w h" (design units) that covers the menu buttons, all four
# or from the given one (0 to 3) on.
menu_buttons_box()
{
    local entry name x y w h left=100000 top=100000 right=0 bottom=0
    for entry in "${E2E_BUTTONS[@]:${1:-0}}"; do
        read -r name x y <<< "$entry"
        read -r w h < <(picture_size "$ASSETS/$name.png")
        ((x < left)) && left=$x
        ((y < top)) && top=$y
        ((x + w > right)) && right=$((x + w))
        ((y + h > bottom)) && bottom=$((y + h))
    done
    echo "$left $top $((right - left)) $((bottom - top))"
}

# --- Screens ----------------------------------------------------------------

# The menu buttons in their normal look on a transparent screen. Prints its path.
buttons_layer()
{
    local out="$E2E_TMP/buttons-${SCREEN_W}x${SCREEN_H}.miff" args=() entry name x y
    if [[ ! -f "$out" ]]; then
        for entry in "${E2E_BUTTONS[@]}"; do
            read -r name x y <<< "$entry"
            args+=("$ASSETS/$name.png" -geometry "+$x+$y" -composite)
        done
        "$CONVERT" -size 1920x1080 xc:none "${args[@]}" -filter point -resize "${SCREEN_W}x${SCREEN_H}!" -depth 8 "$out" ||
            return 1
    fi
    echo "$out"
}

# What a page looks like on screen at fade brightness f (0 to 1): the page over
# black, and with buttons=1 the menu buttons on top, opaque. Arguments: picture,
# f, buttons, name of the result. Prints its path.
faded_page()
{
    local picture=$1 f=$2 buttons=$3 out="$E2E_TMP/$4.miff" page buttons_file layer=()
    page=$(screen_reference "$picture") || return 1
    if ((buttons)); then
        buttons_file=$(buttons_layer) || return 1
        layer=("$buttons_file" -composite)
    fi
    "$CONVERT" "$page" -evaluate multiply "$f" "${layer[@]}" -alpha off -depth 8 "$out" || return 1
    echo "$out"
}

# The brightness at which a screenshot shows a page, from their mean brightness
# outside the menu buttons' box (only there when buttons=1).
fade_factor()
{
    local img=$1 picture=$2 buttons=$3 ref draw=()
    ref=$(screen_reference "$picture") || return 1
    if ((buttons)); then
        local l t w h
        read -r l t w h < <(screen_box $(menu_buttons_box))
        draw=(-fill black -draw "rectangle $((l - 2)),$((t - 2)) $((l + w + 2)),$((t + h + 2))")
    fi
    "$CONVERT" \( "$img" -alpha off "${draw[@]}" \) \( "$ref" -alpha off "${draw[@]}" \) \
        -colorspace gray -format '%[fx:mean]\n' info: |
        awk 'NR == 1 { a = $1 } NR == 2 { b = $1 } END { if (b <= 0) exit 1; f = a / b; printf "%.4f\n", (f > 1 ? 1 : f) }'
}

# Waits until the screen shows a page after its fade-in: the picture at some
# brightness of at least E2E_MIN_FADE (where a fade stops depends on the frame
# rate: near 252 of 255 on a fast machine), no longer changing between two
# screenshots, with the four menu buttons drawn when buttons=1. Arguments:
# description, picture, buttons. Leaves the settled screenshot in SETTLED, the
# picture it was found to match in SETTLED_EXPECTED and the brightness in SETTLED_FADE.
wait_page()
{
    local what=$1 picture=$2 buttons=$3
    # A check that buttons are drawn proves nothing if they look like the page under them.
    local box plain with
    if ((buttons)); then
        box=$(screen_box $(menu_buttons_box))
        plain=$(faded_page "$picture" 1 0 page-plain)
        with=$(faded_page "$picture" 1 1 page-buttons)
        local d
        d=$(region_rmse "$plain" $box "$with")
        below "$(awk -v t="$E2E_PAGE_TOLERANCE" 'BEGIN { print 2 * t }')" "$d" ||
            e2e_fail "the menu buttons barely differ from the menu page under them ($d): cannot check them"
    fi
    _page_check()
    {
        local first f expected d s
        # Still first: it is the cheapest look, and a fade changes every frame.
        shot page-a || return 1
        first=$SHOT
        shot page-b || return 1
        s=$(image_rmse "$first" "$SHOT") || return 1
        E2E_WAIT_DETAIL="still changing ($s)"
        below "$s" "$E2E_STABLE_TOLERANCE" || return 1
        f=$(fade_factor "$SHOT" "$picture" "$buttons") || return 1
        expected=$(faded_page "$picture" "$f" "$buttons" page-expected) || return 1
        d=$(image_rmse "$SHOT" "$expected") || return 1
        E2E_WAIT_DETAIL="brightness $f, difference $d (tolerance $E2E_PAGE_TOLERANCE)"
        below "$d" "$E2E_PAGE_TOLERANCE" && ! below "$f" "$E2E_MIN_FADE" || return 1
        if ((buttons)); then
            local b
            b=$(region_rmse "$SHOT" $box "$expected") || return 1
            E2E_WAIT_DETAIL="$E2E_WAIT_DETAIL; the buttons differ by $b"
            below "$b" "$E2E_PAGE_TOLERANCE" || return 1
        fi
        SETTLED=$SHOT
        SETTLED_EXPECTED=$expected
        SETTLED_FADE=$f
        E2E_WAIT_DETAIL="brightness $f, difference $d"
    }
    wait_for "$what" "$E2E_DEADLINE" _page_check
    e2e_log "$what: $E2E_WAIT_DETAIL"
}

# Waits for the title page after its fade-in.
wait_title() { wait_page "the title page, faded in" "$ASSETS/start_page.png" 0; }

# Waits for the menu page after its fade-in, with its four buttons in their normal look.
wait_menu() { wait_page "the menu page with its buttons" "$ASSETS/menu_page.png" 1; }

# Presses the start-game button. A press and its release handled in one frame
# would leave only the release as the last event, which the buttons never see,
# so the button is held down until the screen shows the press took effect: the
# menu buttons vanish at once when start game is pressed. Only the other three
# are watched, as the start button changes its look under the pointer anyway.
# Call right after wait_menu.
press_start_button()
{
    local name x y w h box with
    read -r name x y <<< "${E2E_BUTTONS[0]}"
    read -r w h < <(picture_size "$ASSETS/$name.png")
    box=$(screen_box $(menu_buttons_box 1))
    with="$E2E_TMP/menu-shown.miff"
    cp "$SETTLED_EXPECTED" "$with"
    _buttons_gone()
    {
        local d
        shot buttons-gone || return 1
        d=$(region_rmse "$SHOT" $box "$with") || return 1
        E2E_WAIT_DETAIL="the other buttons' area still matches the buttons ($d)"
        ! below "$d" "$E2E_PAGE_TOLERANCE"
    }
    xdotool mousemove $(screen_point $((x + w / 2)) $((y + h / 2)))
    xdotool mousedown 1
    wait_for "the menu buttons to vanish after pressing start game" "$E2E_DEADLINE" _buttons_gone
    xdotool mouseup 1
    e2e_log "start game pressed"
}
