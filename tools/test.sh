#!/usr/bin/env bash
# Sets everything up and runs the whole test suite, in stages that each set up what they need and also run
# alone, in this order when none is named:
#   linux      unit tests, the app layer in process and the real binary, all under a virtual X display with
#              OpenAL's null driver, and the Debian package's checks
#   sanitize   the same suite under the sanitizers (leak checks on)
#   fuzz       each fuzz target for a bounded time from its seeds
#   windows    the Windows build's unit tests, its packages' contents, and its zip and installer under Wine
#   tools/test.sh [stage...]
set -euo pipefail
cd "$(dirname "$0")/.."
source tools/lib/display.sh
source tools/lib/packages.sh
source tools/lib/wine.sh
stages=(linux sanitize fuzz windows)
for stage in "$@"; do
    [[ " ${stages[*]} " == *" $stage "* ]] || { echo "usage: tools/test.sh [linux|sanitize|fuzz|windows]..." >&2; exit 2; }
done
(($#)) || set -- "${stages[@]}"
export ALSOFT_DRIVERS=null

stage_linux() {
    bash tools/setup.sh --tests
    (cd build && display_run 1920x1080 ctest --output-on-failure -j1)
}

stage_sanitize() {
    bash tools/setup.sh --tests --no-build
    bash tools/sanitize.sh
}

stage_fuzz() {
    bash tools/setup.sh --tests --no-build
    bash tools/fuzz.sh 20
}

# Cross toolchain, Wine, libraries, the game and its packages; the unit tests and the recorded game under Wine
# (one Wine session for them all: each start costs seconds without one); what the packages hold; then the zip
# and the installer, each in a Wine folder of its own.
stage_windows() {
    bash tools/windows.sh
    install_packages unzip xdotool x11-utils imagemagick # what the tests read the packages and drive the game with
    rm -rf build-windows/wine
    trap wine_session_end EXIT
    wine_session_start "$PWD/build-windows/wine"
    (cd build-windows && ctest --output-on-failure -j2)
    wine_session_end && trap - EXIT
    unset WINEPREFIX
    bash tests/windows/test_packages.sh dist/glimmora-game-*-windows-x64.zip .
    bash tests/windows/test_zip.sh dist/glimmora-game-*-windows-x64.zip .
    bash tests/windows/test_installer.sh dist/glimmora-game-*-windows-x64.zip .
}

for stage; do
    "stage_$stage"
done
