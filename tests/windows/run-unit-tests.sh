#!/bin/sh
# Runs the display-free unit suites of a Windows cross build under Wine.
#   tests/windows/run-unit-tests.sh BUILD_DIR [ctest options...]
# BUILD_DIR is configured with cmake/mingw-w64.cmake and KESTRUN_BUILD_TESTS
# on, and built. Each suite is one CTest test that starts Wine once, in the
# WINEPREFIX here, else in Wine's default.
set -eu
if [ $# -lt 1 ] || [ ! -f "$1/CTestTestfile.cmake" ]; then
    echo "usage: $0 BUILD_DIR [ctest options...]" >&2
    exit 2
fi
dir=$1
shift
export WINEDEBUG=-all
# A fresh prefix makes itself on the first start; doing it here keeps that
# time out of the first suite's.
if [ -n "${WINEPREFIX:-}" ] && [ ! -f "$WINEPREFIX/system.reg" ]; then
    wineboot -i >/dev/null 2>&1
fi
exec ctest --test-dir "$dir" --output-on-failure "$@"
