#!/bin/sh
# Installs what is missing, builds a Release build and starts the game.
# Arguments are handed to the game (freeglut reads its X options from them).
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh" play
cmake -S "$root" -B "$root/build-release" -DCMAKE_BUILD_TYPE=Release -DKESTRUN_BUILD_TESTS=OFF
cmake --build "$root/build-release" -j "$(nproc)"
exec "$root/build-release/kestrun" "$@"
