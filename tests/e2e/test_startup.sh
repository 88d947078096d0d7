#!/usr/bin/env bash
# Start-up on two desktop sizes: one full-screen window with the game's title, the
# title page faded in and stretched to the screen, and Escape ends the game cleanly.
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
e2e_init "$@"

for size in 1920x1080 1280x1024; do
    xvfb_start "${size%x*}" "${size#*x}"
    game_start "$ROOT"
    expect_one_fullscreen_window
    wait_title
    key Escape
    game_expect_exit_0
    xvfb_stop
done

e2e_log "passed"
