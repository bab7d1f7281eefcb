#!/bin/sh
# Runs a command under a private virtual X server (Xvfb), so tests that need a
# display work on machines with none and never touch the user's own display.
# The server picks a free display number itself (-displayfd), so several test
# processes can start servers at once without racing for a number.
set -u
if ! command -v Xvfb >/dev/null 2>&1; then
    echo "run-with-xvfb: Xvfb not found; install it with: apt-get install xvfb" >&2
    exit 1
fi
screen=${KESTRUN_XVFB_SCREEN:-1920x1080x24}
dir=$(mktemp -d)
Xvfb -displayfd 3 -screen 0 "$screen" -nolisten tcp 3>"$dir/display" 2>"$dir/log" &
server=$!
i=0
while [ ! -s "$dir/display" ]; do
    i=$((i + 1))
    if [ "$i" -gt 200 ] || ! kill -0 "$server" 2>/dev/null; then
        echo "run-with-xvfb: Xvfb did not start:" >&2
        cat "$dir/log" >&2
        rm -rf "$dir"
        exit 1
    fi
    sleep 0.05
done
DISPLAY=:$(cat "$dir/display")
export DISPLAY
"$@"
status=$?
kill "$server" 2>/dev/null
wait "$server" 2>/dev/null
rm -rf "$dir"
exit "$status"
