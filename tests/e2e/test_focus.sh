# Another program taking the keyboard for a moment (a grab, a desktop hotkey) leaves the game playing, as it keeps
# the focus; a real switch to another window pauses it.
source "$(dirname "$0")/lib.sh" "$@"
[[ -x ${GLIMMORA_KEYBOARD_GRAB:-} ]] || { echo "[$NAME] needs GLIMMORA_KEYBOARD_GRAB, the grab helper" >&2; exit 2; }

PAUSE=(-crop 100x100+1530+20 +repage) # the pause button, at 1920x1080
button() { # the playing background under one of the pause button's two pictures and any layers over both, cut to the button
    local picture=$1 && shift
    $CONVERT "$ASSETS/background.png" "$ASSETS/$picture.png" -geometry +1530+20 -composite "$@" "${PAUSE[@]}" -alpha off \
        "$E2E_TMP/$picture.miff" && echo "$E2E_TMP/$picture.miff"
}
# A paused game is dimmed by its overlay, the button with it
RUNNING=$(button button_pause) PAUSED=$(button button_resume "$ASSETS/paused.png" -geometry +0+0 -composite)
button_shows() { # the button shows $1 rather than $2
    shot pause "${PAUSE[@]}"; local d e && d=$(rmse "$SHOT" "$1") e=$(rmse "$SHOT" "$2")
    DETAIL="the pause button differs from ${1##*/} by $d, from ${2##*/} by $e" && below "$d" "$PAGE_TOL" && below "$d" "$e"
}
# Play runs when its time display counts down: two shots a second and a quarter apart differ there.
CLOCK=(-crop 125x40+50+50 +repage)
time_runs() {
    shot clock-a "${CLOCK[@]}"; local first=$SHOT && sleep 1.25 && shot clock-b "${CLOCK[@]}"
    local d && d=$(rmse "$first" "$SHOT"); DETAIL="the time display changed by $d" && below 0.01 "$d"
}

xvfb_start 1920 1080
start_to_menu "$ROOT"
press_start
wait_for "play with the pause button in its running look" button_shows "$RUNNING" "$PAUSED"
"$GLIMMORA_KEYBOARD_GRAB" active 500 || fail "the keyboard grab was refused"
"$GLIMMORA_KEYBOARD_GRAB" hotkey 1500 & grabber=$!
sleep 0.3 && xdotool key F12 && wait $grabber
wait_for "play running on after two grabs" time_runs
button_shows "$RUNNING" "$PAUSED" || fail "a grab paused the game: $DETAIL"
# Every window but the game's: the focus to the root window
xdotool windowfocus "$(xwininfo -root | awk '/Window id/ { print $4 }')"
wait_for "the game paused once the focus went elsewhere" button_shows "$PAUSED" "$RUNNING"
quit_game
