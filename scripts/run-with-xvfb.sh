#!/bin/sh
# Runs a command under a private virtual X server (Xvfb), so tests that need a
# display work on machines with none and never touch the user's own display.
# The server picks a free display number itself (-displayfd), so several test
# processes can start servers at once without racing for a number. However
# this ends (the command's end, a failed start, SIGINT or SIGTERM, as from
# ctest's timeout), the server and the command, with all it started, stop.
set -u
command -v Xvfb >/dev/null 2>&1 ||
    { echo "run-with-xvfb: Xvfb not found; install it with: apt-get install xvfb" >&2; exit 1; }
screen=${KESTRUN_XVFB_SCREEN:-1920x1080x24}
dir=$(mktemp -d)
server="" command=""

# The command runs in a process group of its own, so one signal reaches
# whatever it started (a game, an X tool) too. Called by the trap alone.
# shellcheck disable=SC2317,SC2329
stop_all() {
    [ -z "$command" ] || { kill -s TERM -- "-$command"; wait "$command"; } 2>/dev/null
    [ -z "$server" ] || { kill "$server"; wait "$server"; } 2>/dev/null
    rm -rf "$dir"
}
trap stop_all EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

# -noreset: by default the server resets when its last client leaves, and a
# client connecting during the reset is turned away, as happens to a script
# that runs one X tool after another. KESTRUN_XVFB_RESET=1 keeps the default,
# as a bare server started for the game alone would have it.
reset="-noreset"
[ "${KESTRUN_XVFB_RESET:-}" = 1 ] && reset=""
# shellcheck disable=SC2086
Xvfb -displayfd 3 -screen 0 "$screen" -nolisten tcp $reset 3>"$dir/display" 2>"$dir/log" &
server=$!
i=0
while [ ! -s "$dir/display" ]; do
    i=$((i + 1))
    if [ "$i" -gt 200 ] || ! kill -0 "$server" 2>/dev/null; then
        echo "run-with-xvfb: Xvfb did not start:" >&2
        cat "$dir/log" >&2
        exit 1
    fi
    sleep 0.05
done
DISPLAY=:$(cat "$dir/display")
export DISPLAY
# A background job of this (non-interactive) shell is no group leader, so
# setsid makes the new group without forking: its id is the command's pid.
setsid "$@" &
command=$!
wait "$command"
status=$?
if [ "$status" -ne 0 ] && [ -s "$dir/log" ]; then
    echo "run-with-xvfb: the command failed; the X server said:" >&2
    cat "$dir/log" >&2
fi
exit "$status"
