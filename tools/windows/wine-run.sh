#!/usr/bin/env bash
# Starts a cross-built Windows program under Wine with its DLLs found in the given folders: how
# CMake's test discovery and ctest start the .exe files (the toolchain file's emulator).
#   tools/windows/wine-run.sh DLL_FOLDER[:DLL_FOLDER...] PROGRAM.exe [ARGUMENT...]
set -euo pipefail
folders=$1
shift
path=
IFS=: read -ra dirs <<< "$folders"
for dir in "${dirs[@]}"; do
    path+="${path:+;}Z:$dir"
done
export WINEPATH="$path${WINEPATH:+;$WINEPATH}"
# No offer to install Mono or Gecko, which a new Wine folder would make, and none of Wine's own
# notes in the programs' output
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
export WINEDEBUG=${WINEDEBUG:--all}
exec /usr/lib/wine/wine64 "$@"
