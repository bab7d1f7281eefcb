#!/bin/sh
# Installs what is missing, builds and runs the whole test suite. Tests that
# need a display start their own virtual X server, so none is required.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh" test
jobs=$(nproc)

cmake -S "$root" -B "$root/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$root/build" -j "$jobs"
ctest --test-dir "$root/build" --output-on-failure -j "$jobs"
