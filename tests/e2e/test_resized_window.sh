# A window given another size than the game asked for (a compositor that put it on another output, a window
# manager that ignores the hint): the picture and the buttons' hit areas both follow the window's real size, so a
# click on the start button as drawn starts a game.
source "$(dirname "$0")/lib.sh" "$@"

xvfb_start 1920 1080
start_game "$ROOT"
wait_title
window=$(game_windows) && xdotool windowsize "$window" 1280 720
place_window 1280x720+0+0 && SHOT_FROM=$window
wait_for "the window at 1280x720" window_placed "$window"
xdotool key space
wait_menu
press_start
quit_game
