#!/bin/sh
# Installs what is missing, builds a Release build and starts the game.
# Arguments are handed to the game (freeglut reads its X options from them).
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh" play
game=$("$root/scripts/build-release.sh")
exec "$game" "$@"
