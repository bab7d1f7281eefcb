#!/bin/sh
# Builds the Debian package of Kestrun into build-deb/ (a Release build) and
# prints its path; it installs only the build packages that are missing.
# One commit gives the same package byte for byte wherever and whenever it is
# built: its time stamps are the commit's, or SOURCE_DATE_EPOCH's when set.
#   packaging/build-deb.sh
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build-deb"

# Only the package's path goes to stdout; the rest of what is said, stderr.
"$root/scripts/install-deps.sh" package >&2
SOURCE_DATE_EPOCH=$("$root/scripts/source-date-epoch.sh")
export SOURCE_DATE_EPOCH

{
    cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DKESTRUN_BUILD_TESTS=OFF
    cmake --build "$build" -j "$(nproc)"
    rm -f "$build"/kestrun_*.deb
    (cd "$build" && cpack -G DEB -B "$build")
} >&2
ls "$build"/kestrun_*.deb
