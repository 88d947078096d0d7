#!/usr/bin/env bash
# Renders the desktop icon sizes from packaging/icons/glimmora-game.svg (the results are committed).
set -euo pipefail
cd "$(dirname "$0")/../packaging/icons"
if ! command -v rsvg-convert > /dev/null; then
    as_root=() && [[ $(id -u) -eq 0 ]] || as_root=(sudo)
    "${as_root[@]}" apt-get install -y -qq --no-install-recommends librsvg2-bin
fi
for size in 16 24 32 48 64 128 256; do
    rsvg-convert -w "$size" -h "$size" glimmora-game.svg -o "glimmora-game-$size.png"
done
