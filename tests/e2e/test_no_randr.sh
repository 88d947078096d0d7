# An X server without the RandR extension, where the window library cannot make a full-screen window: the game
# plays in a plain window covering the screen, its title page as designed, and Escape quits.
source "$(dirname "$0")/lib.sh" "$@"

xvfb_start 1280 1024 "" -extension RANDR
xdpyinfo -queryExtensions 2> /dev/null | grep -q RANDR && fail "this Xvfb still has RandR"
start_game "$ROOT"
wait_title
quit_game
