# One X screen over two monitors side by side: the game covers one of them, the primary one, else the one under
# the pointer, and shows its title page there as designed rather than stretched across both.
source "$(dirname "$0")/lib.sh" "$@"
type -P xrandr > /dev/null || { echo "[$NAME] needs xrandr" >&2; exit 2; }

xvfb_start 3840 1080 1920x1080+1920+0 # the right-hand monitor
OUTPUT=$(xrandr | awk '$2 == "connected" { print $1; exit }')
# LEFT takes the screen's one output, which would otherwise count as a third monitor, the whole screen. Argument:
# "*" to make RIGHT the primary one.
monitors() {
    xrandr --setmonitor LEFT "1920/508x1080/286+0+0" "$OUTPUT" --setmonitor "${1}RIGHT" "1920/508x1080/286+1920+0" none
    log "monitors:$(xrandr --listmonitors | tail -n +2 | tr -s ' \n' ' ')"
} > /dev/null

monitors '*' # the pointer rests on LEFT
start_game "$ROOT"
wait_title
quit_game

xrandr --delmonitor LEFT --delmonitor RIGHT > /dev/null && monitors '' # none primary, LEFT first
xdotool mousemove 2880 540
start_game "$ROOT"
quit_game
