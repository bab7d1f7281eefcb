#!/bin/sh
# Builds the frame benchmark (Release, in build-bench/) and runs it under a
# private Xvfb whose screen holds a 3840x2160 window. Arguments go to the
# benchmark: --levers also measures the game without each speed-up. Takes
# about six minutes, or thirty with --levers; keep the machine otherwise
# idle, as timings vary with load.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh" test
cmake -S "$root" -B "$root/build-bench" -DCMAKE_BUILD_TYPE=Release -DKESTRUN_BUILD_TESTS=OFF >/dev/null
cmake --build "$root/build-bench" -j "$(nproc)" --target kestrun_bench >/dev/null
export KESTRUN_XVFB_SCREEN=3840x2160x24
exec "$root/scripts/run-with-xvfb.sh" "$root/build-bench/bench/kestrun_bench" "$@"
