#!/usr/bin/env bash
# Installs what is missing, builds the game with its pictures and sounds, and starts it.
set -euo pipefail
root=$(cd "$(dirname "$0")" && pwd)
"$root/scripts/setup.sh"
cd "$root/build/game"
exec ./gorvendal
