#!/bin/sh
# The README's test command: installs what is missing, then builds and runs
# the whole suite (build/), the display-free suites for 64-bit ARM under
# qemu-user (build-aarch64/), the fuzzer (build-fuzz/), the suite under ASan
# and UBSan (build-asan/) and the Windows build under Wine (build-windows/),
# a warning an error in each. A second run rebuilds only what changed.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh" test
jobs=$(nproc)

cmake -S "$root" -B "$root/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKESTRUN_WERROR=ON
cmake --build "$root/build" -j "$jobs"
ctest --test-dir "$root/build" --output-on-failure -j "$jobs"

cmake -S "$root" -B "$root/build-aarch64" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/aarch64-linux-gnu.cmake" \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKESTRUN_WERROR=ON -DKESTRUN_TRACE_REFERENCE="$root/build/tests/race_trace"
cmake --build "$root/build-aarch64" -j "$jobs"
ctest --test-dir "$root/build-aarch64" --output-on-failure -j "$jobs"

CC=clang CXX=clang++ cmake -S "$root" -B "$root/build-fuzz" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DKESTRUN_FUZZ=ON -DKESTRUN_SANITIZE=ON -DKESTRUN_BUILD_TESTS=OFF -DKESTRUN_WERROR=ON
cmake --build "$root/build-fuzz" -j "$jobs" --target kestrun_fuzz
# New inputs go to a scratch corpus; the committed seeds are only read.
scratch="$root/build-fuzz/corpus"
rm -rf "$scratch"
mkdir -p "$scratch"
"$root/build-fuzz/fuzz/kestrun_fuzz" -seed=1 -runs=100000 -max_len=256 \
    -artifact_prefix="$root/build-fuzz/" "$scratch" "$root/fuzz/corpus"

cmake -S "$root" -B "$root/build-asan" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKESTRUN_SANITIZE=ON \
    -DKESTRUN_WERROR=ON
cmake --build "$root/build-asan" -j "$jobs"
ctest --test-dir "$root/build-asan" --output-on-failure -j "$jobs"

"$root/scripts/build-windows.sh" --with-tests
if ! command -v wine >/dev/null; then
    echo "test: Wine is not installed (this release's archive lacks it): the Windows runs cannot be done" >&2
    exit 1
fi
WINEPREFIX="$root/build-windows/wine-prefix"
export WINEPREFIX
rm -rf "$WINEPREFIX"
# A fresh prefix makes itself on Wine's first start: made here, that time
# stays out of the first suite's.
WINEDEBUG=-all wineboot -i >/dev/null 2>&1
ctest --test-dir "$root/build-windows" --output-on-failure -j "$jobs"
(cd "$root/build-windows" &&
    "$root/scripts/run-with-xvfb.sh" "$root/tests/windows/play_and_install.sh" "$root/build-windows" \
        "$root/build/scripts/e2e_probe" "$root/build/kestrun")
