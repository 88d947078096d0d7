#!/usr/bin/env bash
# The game needs no sound device: with OpenAL's silent driver and with no usable
# driver at all it runs from the title to the menu and quits cleanly.
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
e2e_init "$@"

# What the audio library reports when OpenAL opens no device.
NO_DEVICE="Failed to open the audio device"

xvfb_start 1280 1024

# Title, menu, Escape. Argument: the OpenAL driver list.
run_without_sound()
{
    game_start "$ROOT" ALSOFT_DRIVERS="$1"
    expect_one_fullscreen_window
    wait_title
    key space
    wait_menu
    key Escape
    game_expect_exit_0
}

# The null driver is a real device that plays to nowhere.
run_without_sound null
if grep -q "$NO_DEVICE" "$E2E_TMP/game.err"; then
    e2e_fail "OpenAL found no device with its null driver: \"$NO_DEVICE\""
fi

# No driver by that name exists, so OpenAL opens no device at all.
run_without_sound nonexistent_driver_name
grep -q "$NO_DEVICE" "$E2E_TMP/game.err" ||
    e2e_fail "OpenAL still opened a device: no \"$NO_DEVICE\" on the game's stderr"

e2e_log "passed"
