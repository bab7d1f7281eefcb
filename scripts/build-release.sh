#!/bin/sh
# Makes the Release build of the game (and any targets named) in
# build-release/ and prints the binary's path; the build's words go to
# stderr. Configured once: CMake runs itself again when a CMake file changed,
# and Ninja sees at once that nothing did, so the game starts quickly.
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
