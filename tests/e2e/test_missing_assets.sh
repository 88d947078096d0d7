# Without the music and the cursor (the only loads the game checks) it still reaches the menu, says so and quits.
source "$(dirname "$0")/lib.sh" "$@"

missing=(TribalJungle.ogg cursor.png)
mkdir "$E2E_TMP/root"; cp -R "$ASSETS" "$E2E_TMP/root/assets"
for name in "${missing[@]}"; do rm "$E2E_TMP/root/assets/$name"; done
xvfb_start 1280 1024
start_to_menu "$E2E_TMP/root"
for name in "${missing[@]}"; do
    grep -q "assets/$name" "$E2E_TMP/game.err" || fail "no diagnostic about the missing assets/$name"
done
quit_game
