# No sound device needed: with OpenAL's silent driver the game plays to nowhere; with none at all it says so
# in one line and runs silent, making no sound object (each would fail and say so).
source "$(dirname "$0")/lib.sh" "$@"

NOTICE="glimmora-game: no sound device opens; playing without sound"
VSYNC="Setting vertical sync not supported" # the window library under Xvfb's software GL, not the game
xvfb_start 1280 1024
for driver in null nonexistent_driver_name; do # no driver has the second name, so OpenAL opens no device
    start_to_menu "$ROOT" ALSOFT_DRIVERS=$driver
    quit_game
    said=$(grep -v -x "$VSYNC" "$E2E_TMP/game.err" || true)
    expected=$([[ $driver == null ]] || echo "$NOTICE")
    [[ $said == "$expected" ]] || fail "with ALSOFT_DRIVERS=$driver the game said \"$said\"; expected \"$expected\""
done
