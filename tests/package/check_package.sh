#!/usr/bin/env bash
# The .deb in the given folder passes Debian's checkers (no lintian errors), its menu entry and metainfo
# validate, and it depends on the libraries the game links, so apt-get pulls them in.
set -euo pipefail
deb=$(ls "$1"/glimmora-game_*.deb) && [[ $deb != *$'\n'* ]] || { echo "expected one package in $1" >&2; exit 1; }
tree=$(mktemp -d) && trap 'rm -rf "$tree"' EXIT
dpkg-deb -x "$deb" "$tree"
desktop-file-validate "$tree"/usr/share/applications/*.desktop
appstreamcli validate --no-net "$tree"/usr/share/metainfo/*.metainfo.xml
status=0 && report=$(lintian --fail-on error "$deb" 2>&1) || status=$?
grep -v '^running with root privileges' <<< "$report" || true
((status == 0)) || { echo "lintian found errors" >&2; exit 1; }
depends=$(dpkg-deb -f "$deb" Depends)
for library in libsfml-graphics libsfml-audio libmpg123; do
    [[ $depends == *"$library"* ]] || { echo "Depends lacks $library: $depends" >&2; exit 1; }
done
echo "package checked: $deb"
