# The Windows zip under Wine, on a 1920 x 1080 Xvfb: unpacked into a folder whose path has a space and a
# non-ASCII letter and started from elsewhere, it shows its title page; Space and a click on start reach
# play, whose HUD shows the best score put in Wine's %APPDATA% beforehand; with no sound device it plays
# silent, saying so once; Escape exits 0. Without its data it says why and exits 1, with no box to hang on.
#   bash tests/windows/test_zip.sh <zip> <repo root>
set -euo pipefail
source "$(dirname "$0")/../../tools/lib/wine.sh"
ZIP=$(readlink -f "$1") WINEPREFIX=$(mktemp -d "${TMPDIR:-/tmp}/glimmora-wine.XXXXXX")
FOLDER="$WINEPREFIX/Glimmora Spiele ü"
mkdir -p "$FOLDER" && (cd "$FOLDER" && unzip -q "$ZIP")
EXE=$(ls "$FOLDER"/*/glimmora-game.exe)
# lib.sh takes one program: Wine with the game
printf '#!/bin/sh\nexec %s "%s" "$@"\n' "$WINE" "$EXE" > "$WINEPREFIX/game" && chmod +x "$WINEPREFIX/game"
source "$(dirname "$0")/../e2e/lib.sh" "$WINEPREFIX/game" "$2"
trap 's=$?; wine_session_end; rm -rf "$WINEPREFIX"; (exit $s); cleanup' EXIT
BEST=004321
APPDATA_UNIX="$WINEPREFIX/drive_c/users/$(id -un)/AppData/Roaming/Glimmora Game"
mkdir -p "$APPDATA_UNIX" && printf %s "$((10#$BEST))" > "$APPDATA_UNIX/highscore.txt"
mkdir -p "$WINEPREFIX/elsewhere"
xvfb_start 1920 1080
wine_session_start "$WINEPREFIX" # Wine's first start, about 20 s, before any wait and on this display
start_to_menu "$WINEPREFIX/elsewhere" ALSOFT_DRIVERS=nonexistent_driver_name
press_start
wait_best $BEST
quit_game
tr -d '\r' < "$E2E_TMP/game.err" | grep -qx "glimmora-game: no sound device opens; playing without sound" ||
    fail "no one-line notice of the missing sound device: $(< "$E2E_TMP/game.err")"

# The program alone, without its data: one line on the standard error it was given, status 1
mkdir -p "$WINEPREFIX/alone" && cp "$EXE" "$(dirname "$EXE")"/*.dll "$WINEPREFIX/alone/"
status=0 && (cd "$WINEPREFIX/elsewhere" && timeout 120 "$WINE" "$WINEPREFIX/alone/glimmora-game.exe") 2> "$E2E_TMP/refusal" || status=$?
((status == 1)) && grep -q "cannot start: the game's data is in none of" "$E2E_TMP/refusal" ||
    fail "without its data: status $status and \"$(< "$E2E_TMP/refusal")\"; expected 1 and one line"
log "without its data: $(< "$E2E_TMP/refusal")"
