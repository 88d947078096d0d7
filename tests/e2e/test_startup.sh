# Start-up at two desktop sizes: one full-screen window titled as the game, the title page faded in, Escape quits.
source "$(dirname "$0")/lib.sh" "$@"

for size in 1920x1080 1280x1024; do
    xvfb_start "${size%x*}" "${size#*x}"
    start_game "$ROOT"
    wait_title
    quit_game
    xvfb_stop
done
