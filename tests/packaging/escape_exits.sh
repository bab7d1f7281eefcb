#!/bin/sh
# The installed game opens its "Kestrun" window, draws in it, keeps running,
# and ends with exit status 0 when the player presses Escape. Run under an X
# server:
#   run-with-xvfb.sh escape_exits.sh STAGE_DIR
# Only the game's own stderr lines and sanitizer reports count against it.
set -u
game="$1/usr/games/kestrun"
errors=$(cd "$(dirname "$0")/../e2e" && pwd)/game_errors.sh
log=$(mktemp)
"$game" 2>"$log" &
pid=$!
finish() {
    kill "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
    rm -f "$log"
}
trap finish EXIT

window=$(timeout 60 xdotool search --sync --onlyvisible --name '^Kestrun$' | head -1)
if [ -z "$window" ]; then
    echo "no window titled Kestrun appeared"
    if ! kill -0 "$pid" 2>/dev/null; then
        wait "$pid"
        echo "the game ended with status $?; its stderr:"
    fi
    cat "$log"
    exit 1
fi
# The window shows the black screen behind it until the first frame.
i=0
until [ "$(import -window "$window" -format '%[max]' info:- 2>/dev/null)" -gt 0 ] 2>/dev/null; do
    i=$((i + 1))
    if [ "$i" -gt 300 ] || ! kill -0 "$pid" 2>/dev/null; then
        echo "no frame drawn in the window"
        exit 1
    fi
    sleep 0.1
done
if ! kill -0 "$pid" 2>/dev/null; then
    wait "$pid"
    echo "the game ended on its own with status $?"
    exit 1
fi

xdotool windowfocus --sync "$window"
xdotool key Escape
i=0
while kill -0 "$pid" 2>/dev/null; do
    i=$((i + 1))
    if [ "$i" -gt 300 ]; then
        echo "the game was still running 30 s after Escape"
        exit 1
    fi
    sleep 0.1
done
wait "$pid"
status=$?
if [ "$status" -ne 0 ]; then
    echo "the game exited with status $status on Escape"
    exit 1
fi
if ! sh "$errors" "$log"; then
    echo "the game reported errors"
    exit 1
fi
echo "Escape ended the game with status 0"
