# The .deb unpacked into a scratch folder and started from elsewhere: it finds its data beside itself,
# shows the player's stored best score on the playing screen, stores nothing else, and Escape quits.
source "$(dirname "$0")/lib.sh" "$@"

BEST=097531
deb=$(ls "${GLIMMORA_PACKAGES:?the folder of the built .deb}"/glimmora-game_*.deb)
mkdir -p "$E2E_TMP/unpacked" "$E2E_TMP/elsewhere" "$E2E_TMP/data/glimmora-game"
dpkg-deb -x "$deb" "$E2E_TMP/unpacked" && GAME=$E2E_TMP/unpacked/usr/games/glimmora-game
printf %s "$((10#$BEST))" > "$E2E_TMP/data/glimmora-game/highscore.txt"

xvfb_start 1920 1080
start_to_menu "$E2E_TMP/elsewhere" XDG_DATA_HOME="$E2E_TMP/data"
press_start
wait_best $BEST
quit_game
[[ $(< "$E2E_TMP/data/glimmora-game/highscore.txt") == "$((10#$BEST))" ]] || fail "the stored best score changed"
written=$(find "$E2E_TMP/elsewhere" "$E2E_TMP/unpacked" -name 'highscore.txt*')
[[ -z $written ]] || fail "a best score was written outside the data home: $written"
