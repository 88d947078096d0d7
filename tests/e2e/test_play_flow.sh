#!/usr/bin/env bash
# One short game at 1920x1080: title, menu, the start-game button, the playing
# screen; a hard-dropped gem is pulled onto the thread with Down after the
# selector was walked to its column; B returns to the menu and Escape quits.
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
e2e_init "$@"

CELL=60           # gem pictures and cells, design units (= pixels at 1920x1080)
BOTTOM_ROW_Y=533  # board row 7
THREAD_TOP_Y=595  # thread slot 0
FIRST_STOP=6      # the selector's stop when a game starts
CELL_TOLERANCE=0.05
# The playing background is dark, so even a black screen is close to it outside
# the moving things; at 1920x1080 the game draws it exactly.
PLAY_TOLERANCE=0.01

lane_x() { echo $((270 + 120 * $1)); }

ROW_W=$((120 * 11 + CELL)) # a row of cells from column 0 to column 11

# A row of cells as the game draws it at screen height y: the playing background
# with a picture (a gem, the thread segment, or with "background" nothing) in every
# cell of columns 0 to 11. Prints the path of the cached result.
row_reference()
{
    local out="$E2E_TMP/row-$1-$2.miff"
    [[ -f "$out" ]] || make_row_references "$2" || return 1
    echo "$out"
}

# Makes the row references of every picture for screen height y, in one go.
make_row_references()
{
    local y=$1 background picture c args=()
    background=$(screen_reference "$ASSETS/background.png") || return 1
    args=(\( "$background" -crop "${ROW_W}x${CELL}+$(lane_x 0)+$y" +repage -write mpr:row
          -write "$E2E_TMP/row-background-$y.miff" +delete \))
    for picture in "${E2E_GEMS[@]}"; do
        args+=(\( mpr:row)
        for ((c = 0; c < 12; c++)); do
            args+=("$ASSETS/$picture.png" -geometry "+$((120 * c))+0" -composite)
        done
        args+=(-alpha off -write "$E2E_TMP/row-$picture-$y.miff" +delete \))
    done
    "$CONVERT" "${args[@]}" mpr:row null:
}

# Cuts the row of cells at screen height y out of the last screenshot (small
# pictures compare much quicker than the whole screen); its path is left in ROW.
cut_row()
{
    ROW="$E2E_TMP/cut-$1.miff"
    "$CONVERT" "$SHOT" -crop "${ROW_W}x${CELL}+$(lane_x 0)+$1" +repage "$ROW"
}

# Difference between column c of a cut row at screen height y and a picture drawn
# there. Arguments: row c y picture.
cell_rmse()
{
    local ref
    ref=$(row_reference "$4" "$3") || return 1
    region_rmse "$1" $((120 * $2)) 0 "$CELL" "$CELL" "$ref"
}

# Prints the gem code (1 to 10) whose picture a cell shows, or fails. Arguments: row c y.
cell_gem_code()
{
    local code d best=0 best_d=1
    for ((code = 1; code <= 10; code++)); do
        d=$(cell_rmse "$1" "$2" "$3" "${E2E_GEMS[code]}") || return 1
        if below "$d" "$best_d"; then
            best=$code
            best_d=$d
        fi
    done
    below "$best_d" "$CELL_TOLERANCE" || return 1
    echo "$best"
}

# --- Checks polled by wait_for ---

# The playing screen: the background wherever nothing moves.
PLAY_MASK=()
playing_mask()
{
    local tw th
    read -r tw th < <(picture_size "$ASSETS/TrashTube.png")
    PLAY_MASK=(
        "1280,0 1919,140"                        # in-game buttons
        "40,40 1280,120"                         # HUD numbers
        "50,103 130,603"                         # target pattern
        "260,103 1720,603"                       # board and falling gem
        "1763,103 $((1783 + tw)),$((123 + th))"  # trash tube
        "260,585 1850,1079"                      # thread at any stop
    )
}

playing_shown()
{
    local d background
    background=$(screen_reference "$ASSETS/background.png") || return 1
    shot playing || return 1
    d=$(masked_rmse "$SHOT" "$background" "${PLAY_MASK[@]}") || return 1
    E2E_WAIT_DETAIL="difference from the background outside moving things: $d (tolerance $PLAY_TOLERANCE)"
    below "$d" "$PLAY_TOLERANCE"
}

# Something is drawn in board row 7 (one quick look at the whole row).
bottom_row_taken()
{
    local d empty
    shot bottom-row || return 1
    cut_row "$BOTTOM_ROW_Y" || return 1
    empty=$(row_reference background "$BOTTOM_ROW_Y") || return 1
    d=$(image_rmse "$ROW" "$empty") || return 1
    E2E_WAIT_DETAIL="row 7 differs from the empty board by $d"
    ! below "$d" 0.01
}

# Finds a gem in board row 7; sets DROP_COLUMN and DROP_CODE.
gem_in_bottom_row()
{
    local c d code
    shot bottom-row || return 1
    cut_row "$BOTTOM_ROW_Y" || return 1
    for ((c = 0; c < 12; c++)); do
        d=$(cell_rmse "$ROW" "$c" "$BOTTOM_ROW_Y" background) || return 1
        below "$d" "$CELL_TOLERANCE" && continue
        code=$(cell_gem_code "$ROW" "$c" "$BOTTOM_ROW_Y") || continue
        DROP_COLUMN=$c
        DROP_CODE=$code
        return 0
    done
    E2E_WAIT_DETAIL="no gem picture in any cell of row 7"
    return 1
}

# The thread's top slot, empty, hangs at a stop.
thread_at()
{
    local d
    shot thread || return 1
    cut_row "$THREAD_TOP_Y" || return 1
    d=$(cell_rmse "$ROW" "$1" "$THREAD_TOP_Y" thread_segment) || return 1
    E2E_WAIT_DETAIL="the empty thread segment at stop $1 differs by $d"
    below "$d" "$CELL_TOLERANCE"
}

# The thread's top slot at a stop shows a gem picture rather than the empty segment.
thread_top_shows()
{
    local stop=$1 code=$2 d empty
    shot pulled || return 1
    cut_row "$THREAD_TOP_Y" || return 1
    d=$(cell_rmse "$ROW" "$stop" "$THREAD_TOP_Y" "${E2E_GEMS[code]}") || return 1
    empty=$(cell_rmse "$ROW" "$stop" "$THREAD_TOP_Y" thread_segment) || return 1
    E2E_WAIT_DETAIL="slot 0 differs from gem $code by $d, from the empty segment by $empty"
    below "$d" "$CELL_TOLERANCE" && below "$d" "$empty"
}

# --- The game ---

xvfb_start 1920 1080
# The cells' references cost less before the game takes its share of the machine.
make_row_references "$BOTTOM_ROW_Y"
make_row_references "$THREAD_TOP_Y"
playing_mask
# The check of the playing screen must be able to tell it from the menu and from
# a black screen (the menu at the end of its fade-out).
for other in "$ASSETS/menu_page.png" "xc:black[1920x1080!]"; do
    d=$(masked_rmse "$other" "$ASSETS/background.png" "${PLAY_MASK[@]}")
    below "$(awk -v t="$PLAY_TOLERANCE" 'BEGIN { print 2 * t }')" "$d" ||
        e2e_fail "the playing background is too like $other outside moving things ($d)"
done

game_start "$ROOT"
expect_one_fullscreen_window
wait_title
key space
wait_menu
press_start_button
wait_for "the playing screen after the menu's fade-out" "$E2E_DEADLINE" playing_shown
e2e_log "playing"
wait_for "the empty thread at stop $FIRST_STOP" "$E2E_DEADLINE" thread_at "$FIRST_STOP"

# Space is read as a held key when events arrive, so hold it until a gem rests in
# row 7 (the drop, or a gem that got there by falling: either can be pulled). Let
# go soon: while Space is held, its auto-repeat drops every new gem too.
xdotool keydown space
wait_for "something in board row 7" "$E2E_DEADLINE" bottom_row_taken
xdotool keyup space
wait_for "a gem in board row 7" "$E2E_DEADLINE" gem_in_bottom_row
e2e_log "gem $DROP_CODE rests in row 7 of column $DROP_COLUMN"

# Walk the selector one stop at a time; a second move within 0.03 s of the last
# is ignored, so each press waits until the thread has moved.
stop=$FIRST_STOP
while ((stop != DROP_COLUMN)); do
    if ((DROP_COLUMN < stop)); then
        key Left
        stop=$((stop - 1))
    else
        key Right
        stop=$((stop + 1))
    fi
    wait_for "the thread to move to stop $stop" "$E2E_DEADLINE" thread_at "$stop"
done
e2e_log "selector at stop $stop"

# Later gems land on top of the stack, so row 7 still holds the same gem.
key Down
wait_for "gem $DROP_CODE on the thread's top slot at stop $stop" "$E2E_DEADLINE" thread_top_shows "$stop" "$DROP_CODE"
e2e_log "gem pulled onto the thread"

# Back to the menu, with the pointer off the buttons so they show their normal look.
xdotool mousemove 0 0
key b
wait_menu
key Escape
game_expect_exit_0
e2e_log "passed"
