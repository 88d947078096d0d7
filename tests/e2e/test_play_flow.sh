# One short game at 1920x1080 with real keys and clicks: title, menu, start game, the playing screen; Space held
# drops a gem onto the board's bottom row; B returns to the menu and Escape quits. (The rules themselves are
# tested in process.)
source "$(dirname "$0")/lib.sh" "$@"

CELL=60 ROW_X=270 ROW_W=1380 ROW_Y=533 # 12 columns 120 apart; board row 7
PLAY_TOL=0.01 # the playing background is dark, so black is near it too; the game draws it exactly
# Outside the in-game buttons, HUD numbers, target pattern, board, thread and trash tube, nothing moves.
read -r tube_w tube_h < <(identify -format '%w %h\n' "$ASSETS/TrashTube.png")
PLAY_MASK=(-fill black -draw "rectangle 1280,0 1919,140 rectangle 40,40 1280,120 rectangle 50,103 130,603
    rectangle 260,103 1720,603 rectangle 260,585 1850,1079 rectangle 1763,103 $((1783 + tube_w)),$((123 + tube_h))")

playing_shown() {
    shot playing; local d && d=$(rmse "$SHOT" "$(stretched "$ASSETS/background.png")" "${PLAY_MASK[@]}")
    DETAIL="difference from the background outside moving things: $d (tolerance $PLAY_TOL)" && below "$d" "$PLAY_TOL"
}
ROW=(-crop "${ROW_W}x$CELL+$ROW_X+$ROW_Y" +repage) # the row alone compares much quicker than the screen
row7_taken() {
    shot row7 "${ROW[@]}"; local d && d=$(rmse "$SHOT" "$(stretched "$ASSETS/background.png")" "${ROW[@]}")
    DETAIL="row 7 differs from the empty board by $d" && below 0.01 "$d"
}
xvfb_start 1920 1080
# The playing check must tell the playing screen from the menu and from black (the menu's fade-out end).
for other in "$ASSETS/menu_page.png" "xc:black[1920x1080!]"; do
    d=$(rmse "$other" "$ASSETS/background.png" "${PLAY_MASK[@]}")
    tells_apart "$d" "$PLAY_TOL" || fail "the playing background is too like $other outside moving things ($d)"
done
start_to_menu "$ROOT"
press_start
wait_for "the playing screen after the menu's fade-out" playing_shown
# Space counts as held when events arrive: hold it until something rests in row 7.
xdotool keydown space
wait_for "something in board row 7" row7_taken
xdotool keyup space
# Back to the menu, with the pointer off the buttons so they show their normal look.
xdotool mousemove 0 0 key b
wait_menu
quit_game
