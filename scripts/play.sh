#!/bin/sh
# Installs what is missing, builds a Release build and starts the game.
# Arguments are handed to the game (freeglut reads its X options from them).
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build-release"
"$root/scripts/install-deps.sh" play
# Configured once: the build itself runs CMake again when a CMake file
# changed. Ninja finds that nothing changed in a blink, so a start is quick.
if [ ! -f "$build/CMakeCache.txt" ]; then
    cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DKESTRUN_BUILD_TESTS=OFF
fi
cmake --build "$build" -j "$(nproc)" --target kestrun
exec "$build/kestrun" "$@"
