#!/usr/bin/env bash
# The only two loads the game checks are the music and the cursor: without them it
# must still start, reach the menu and quit cleanly.
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
e2e_init "$@"

missing=(TribalJungle.ogg cursor.png)

workdir="$E2E_TMP/root"
mkdir -p "$workdir"
cp -R "$ASSETS" "$workdir/assets"
for name in "${missing[@]}"; do
    rm -f "$workdir/assets/$name"
done

xvfb_start 1280 1024
game_start "$workdir"
expect_one_fullscreen_window
wait_title
key space
wait_menu

# The game did look for the files it could not find.
for name in "${missing[@]}"; do
    grep -q "assets/$name" "$E2E_TMP/game.err" || e2e_fail "no diagnostic about the missing assets/$name"
done

key Escape
game_expect_exit_0
e2e_log "passed"
