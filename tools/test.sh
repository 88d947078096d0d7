#!/usr/bin/env bash
# Sets everything up and runs the whole test suite: unit tests, the app layer in process and the real
# binary, all under a virtual X display with OpenAL's null driver; the same under the sanitizers; the
# fuzz targets for a bounded time; then the Windows build's unit tests, its packages' contents, and its
# zip and installer under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/setup.sh --tests
export ALSOFT_DRIVERS=null
(cd build && xvfb-run -a -s "-screen 0 1920x1080x24" ctest --output-on-failure -j1)

# Robustness: the whole suite again under the sanitizers (leak checks on), then each fuzz target
# for a bounded time from its seeds.
bash tools/sanitize.sh
bash tools/fuzz.sh 20

# Windows: cross toolchain, Wine, libraries, the game and its packages; the unit tests and the recorded
# game under Wine (one Wine server for them all: each start costs seconds without one); what the packages
# hold; then the zip and the installer, each in a Wine folder of its own.
bash tools/windows.sh
export WINEPREFIX=$PWD/build-windows/wine WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
rm -rf "$WINEPREFIX" && mkdir -p "$WINEPREFIX" && /usr/lib/wine/wineserver -p
/usr/lib/wine/wine64 wineboot -i > /dev/null 2>&1
status=0 && (cd build-windows && ctest --output-on-failure -j2) || status=$?
/usr/lib/wine/wineserver -k
((status == 0))
unset WINEPREFIX
bash tests/windows/test_packages.sh dist/glimmora-game-*-windows-x64.zip .
bash tests/windows/test_zip.sh dist/glimmora-game-*-windows-x64.zip .
bash tests/windows/test_installer.sh dist/glimmora-game-*-windows-x64.zip .
