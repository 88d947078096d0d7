# The .deb unpacked into a scratch folder and started from elsewhere: it finds its data beside itself,
# shows the player's stored best score on the playing screen, stores nothing else, and Escape quits.
source "$(dirname "$0")/lib.sh" "$@"

BEST=097531 BEST_X=758 HUD_Y=50 # six HUD places 25 apart
deb=$(ls "${GLIMMORA_PACKAGES:?the folder of the built .deb}"/glimmora-game_*.deb)
mkdir -p "$E2E_TMP/unpacked" "$E2E_TMP/elsewhere" "$E2E_TMP/data/glimmora-game"
dpkg-deb -x "$deb" "$E2E_TMP/unpacked" && GAME=$E2E_TMP/unpacked/usr/games/glimmora-game
printf %s "$((10#$BEST))" > "$E2E_TMP/data/glimmora-game/highscore.txt"

FIELD=(-crop 150x40+$BEST_X+$HUD_Y +repage)
best_field() { # the background under the given six digits, cut to the best score's field
    local args=("$ASSETS/background.png") i
    for i in {0..5}; do args+=("$ASSETS/digit_${1:i:1}.png" -geometry "+$((BEST_X + 25 * i))+$HUD_Y" -composite); done
    $CONVERT "${args[@]}" "${FIELD[@]}" -alpha off "$E2E_TMP/best-$1.miff" && echo "$E2E_TMP/best-$1.miff"
}
best_shown() {
    shot best "${FIELD[@]}"; local d z && d=$(rmse "$SHOT" "$WANT") z=$(rmse "$SHOT" "$ZEROS")
    DETAIL="the field differs from $BEST by $d, from 000000 by $z" && below "$d" "$PAGE_TOL" && below "$d" "$z"
}
WANT=$(best_field $BEST) ZEROS=$(best_field 000000)

xvfb_start 1920 1080
start_to_menu "$E2E_TMP/elsewhere" XDG_DATA_HOME="$E2E_TMP/data"
press_start
wait_for "the stored best score $BEST on the playing screen" best_shown
quit_game
[[ $(< "$E2E_TMP/data/glimmora-game/highscore.txt") == "$((10#$BEST))" ]] || fail "the stored best score changed"
written=$(find "$E2E_TMP/elsewhere" "$E2E_TMP/unpacked" -name 'highscore.txt*')
[[ -z $written ]] || fail "a best score was written outside the data home: $written"
