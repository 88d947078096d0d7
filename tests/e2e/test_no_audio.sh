# No sound device needed: with OpenAL's silent driver, and with none at all, title to menu and a clean quit.
source "$(dirname "$0")/lib.sh" "$@"

NO_DEVICE="Failed to open the audio device" # what the audio library says when OpenAL opens no device
xvfb_start 1280 1024
# The null driver is a real device that plays to nowhere.
start_to_menu "$ROOT" ALSOFT_DRIVERS=null
quit_game
! grep -q "$NO_DEVICE" "$E2E_TMP/game.err" || fail "OpenAL found no device with its null driver: \"$NO_DEVICE\""
# No driver has that name, so OpenAL opens no device at all.
start_to_menu "$ROOT" ALSOFT_DRIVERS=nonexistent_driver_name
quit_game
grep -q "$NO_DEVICE" "$E2E_TMP/game.err" || fail "OpenAL still opened a device: no \"$NO_DEVICE\" on the game's stderr"
# Without a device the game runs silent: no sound call may fail over and over (the music stream would spin).
err_bytes=$(stat -c %s "$E2E_TMP/game.err")
((err_bytes < 16384)) || fail "without a device the game wrote $err_bytes bytes of errors; expected a few lines"
