#!/usr/bin/env bash
# Sets everything up and starts the game (it reads assets/ from the repository root).
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/setup.sh
exec ./build/glimmora-game
