#!/bin/sh
# Makes the Release build of the game in build-release/ and prints the
# binary's path; what the build says goes to stderr. Targets named as
# arguments are built too. Configured once: the
# build itself runs CMake again when a CMake file changed, and Ninja finds
# that nothing changed in a blink, so a second start of the game is quick.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build-release"
{
    if [ ! -f "$build/CMakeCache.txt" ]; then
        cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DKESTRUN_BUILD_TESTS=OFF
    fi
    cmake --build "$build" -j "$(nproc)" --target kestrun "$@"
} >&2
echo "$build/kestrun"
