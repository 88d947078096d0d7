# One short game at 1920x1080: title, menu, start game, the playing screen; a hard-dropped gem is pulled onto
# the thread with Down once the selector stands at its column; B returns to the menu and Escape quits.
source "$(dirname "$0")/lib.sh" "$@"

CELL=60 ROW_X=270 ROW_W=1380 ROW_Y=533 THREAD_Y=595 FIRST_STOP=6 # 12 columns 120 apart; board row 7; thread slot 0
CELL_TOL=0.05 PLAY_TOL=0.01 # the playing background is dark, so black is near it too; the game draws it exactly

# References of the row of cells at height y: the background with one picture in every cell, made in one go.
make_rows() {
    local picture c args=(\( "$(stretched "$ASSETS/background.png")" -crop "${ROW_W}x$CELL+$ROW_X+$1" +repage
        -write mpr:row -write "$E2E_TMP/row-background-$1.miff" +delete \))
    for picture in "${GEMS[@]}"; do
        args+=(\( mpr:row)
        for c in {0..11}; do args+=("$ASSETS/$picture.png" -geometry "+$((120 * c))+0" -composite); done
        args+=(-alpha off -write "$E2E_TMP/row-$picture-$1.miff" +delete \))
    done
    $CONVERT "${args[@]}" mpr:row null:
}
# Looks at the row of cells at height y alone: small pictures compare much quicker than the screen.
look_row() { shot "row$1" -crop "${ROW_W}x$CELL+$ROW_X+$1" +repage; ROW=$SHOT; }
cell_diff() { rmse "$ROW" "$E2E_TMP/row-$3-$2.miff" -crop "${CELL}x$CELL+$((120 * $1))+0" +repage; } # column y picture
# Outside the in-game buttons, HUD numbers, target pattern, board, thread and trash tube, nothing moves.
read -r tube_w tube_h < <(identify -format '%w %h\n' "$ASSETS/TrashTube.png")
PLAY_MASK=(-fill black -draw "rectangle 1280,0 1919,140 rectangle 40,40 1280,120 rectangle 50,103 130,603
    rectangle 260,103 1720,603 rectangle 260,585 1850,1079 rectangle 1763,103 $((1783 + tube_w)),$((123 + tube_h))")

playing_shown() {
    shot playing; local d && d=$(rmse "$SHOT" "$(stretched "$ASSETS/background.png")" "${PLAY_MASK[@]}")
    DETAIL="difference from the background outside moving things: $d (tolerance $PLAY_TOL)" && below "$d" "$PLAY_TOL"
}
row7_taken() {
    look_row $ROW_Y; local d && d=$(rmse "$ROW" "$E2E_TMP/row-background-$ROW_Y.miff")
    DETAIL="row 7 differs from the empty board by $d" && below 0.01 "$d"
}
gem_in_row7() { # sets DROP_COLUMN and DROP_CODE to a cell of row 7 and the gem picture it shows best
    local c code d best='' && look_row $ROW_Y && DETAIL="no gem picture in any cell of row 7"
    for c in {0..11}; do
        below "$(cell_diff $c $ROW_Y background)" "$CELL_TOL" && continue
        for code in {1..10}; do
            d=$(cell_diff $c $ROW_Y "${GEMS[code]}")
            below "$d" "${best:-$CELL_TOL}" && best=$d DROP_CODE=$code DROP_COLUMN=$c
        done
        [[ -n $best ]] && DETAIL="gem $DROP_CODE in column $c" && return 0
    done
    return 1
}
thread_top() { # the thread's top slot at a stop shows a picture, and better than it shows the empty segment
    look_row $THREAD_Y; local d e && d=$(cell_diff "$1" $THREAD_Y "$2") e=$(cell_diff "$1" $THREAD_Y thread_segment)
    DETAIL="slot 0 at stop $1: $2 differs by $d, the empty segment by $e" && below "$d" "$CELL_TOL" && ! below "$e" "$d"
}

xvfb_start 1920 1080
make_rows $ROW_Y; make_rows $THREAD_Y # cheaper before the game takes its share of the machine
# The playing check must tell the playing screen from the menu and from black (the menu's fade-out end).
for other in "$ASSETS/menu_page.png" "xc:black[1920x1080!]"; do
    d=$(rmse "$other" "$ASSETS/background.png" "${PLAY_MASK[@]}")
    tells_apart "$d" "$PLAY_TOL" || fail "the playing background is too like $other outside moving things ($d)"
done
start_to_menu "$ROOT"
press_start
wait_for "the playing screen after the menu's fade-out" playing_shown
wait_for "the empty thread at stop $FIRST_STOP" thread_top $FIRST_STOP thread_segment
# Space counts as held when events arrive: hold it until something rests in row 7 (dropped or fallen, either
# can be pulled), then let go before its auto-repeat drops every new gem too.
xdotool keydown space
wait_for "something in board row 7" row7_taken
xdotool keyup space
wait_for "a gem in board row 7" gem_in_row7
# A move within 0.03 s of the last is ignored: step one stop at a time, waiting for the thread each time.
for ((stop = FIRST_STOP; stop != DROP_COLUMN; )); do
    ((DROP_COLUMN < stop)) && key=Left step=-1 || key=Right step=1
    xdotool key $key; stop=$((stop + step))
    wait_for "the thread to move to stop $stop" thread_top $stop thread_segment
done
# Later gems land on top of the stack, so row 7 still holds the same gem.
xdotool key Down
wait_for "gem $DROP_CODE on the thread's top slot at stop $stop" thread_top $stop "${GEMS[DROP_CODE]}"
# Back to the menu, with the pointer off the buttons so they show their normal look.
xdotool mousemove 0 0 key b
wait_menu
quit_game
