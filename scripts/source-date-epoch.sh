#!/bin/sh
# Prints the time, in seconds since 1970, that the packages date their files
# by, so one commit gives the same packages whenever it is built:
# SOURCE_DATE_EPOCH when set, else the commit's time, else (an unpacked source
# archive) the time of the newest source file.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
if [ -n "${SOURCE_DATE_EPOCH:-}" ]; then
    echo "$SOURCE_DATE_EPOCH"
elif ! git -C "$root" log -1 --format=%ct 2>/dev/null; then
    find "$root" -path "$root/build*" -prune -o -type f -printf '%T@\n' | sort -n | tail -1 |
        cut -d. -f1
fi
