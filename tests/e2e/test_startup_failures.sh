# Where the game cannot be played it says why in one line on stderr and exits 1 before any window: no
# display, or its data in none of the places it looks. From its build folder it finds the checkout's data.
source "$(dirname "$0")/lib.sh" "$@"

refused() { # description, a part of the expected message, command...
    local status=0 && "${@:3}" > /dev/null 2> "$E2E_TMP/refusal" || status=$?
    ((status == 1)) || fail "$1: exit status $status, expected 1 ($(< "$E2E_TMP/refusal"))"
    [[ $(wc -l < "$E2E_TMP/refusal") == 1 ]] && grep -qF "$2" "$E2E_TMP/refusal" ||
        fail "$1: expected one line naming $2, got: $(< "$E2E_TMP/refusal")"
    log "$1: $(< "$E2E_TMP/refusal")"
}
refused "DISPLAY unset" "DISPLAY is not set" env -u DISPLAY "$GAME"
refused "DISPLAY naming no display" '":9999" does not open' env DISPLAY=:9999 "$GAME"

xvfb_start 1280 1024
mkdir -p "$E2E_TMP/scratch/bin" && cp "$GAME" "$E2E_TMP/scratch/bin/"
refused "no data anywhere" \
    "$E2E_TMP/scratch/assets, $E2E_TMP/scratch/bin/assets, $E2E_TMP/scratch/share/games/glimmora-game/assets" \
    bash -c 'cd "$1" && exec bin/glimmora-game' - "$E2E_TMP/scratch"
start_game "$(dirname "$GAME")"
wait_title
quit_game
