#!/bin/sh
# The installed game opens its "Kestrun" window, keeps running, and ends with
# exit status 0 when the player presses Escape. Run under an X server:
#   run-with-xvfb.sh escape_exits.sh STAGE_DIR
set -u
game="$1/usr/games/kestrun"
"$game" &
pid=$!
finish() {
    kill "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
}

window=$(timeout 20 xdotool search --sync --onlyvisible --name '^Kestrun$' | head -1)
if [ -z "$window" ]; then
    echo "no window titled Kestrun appeared"
    finish
    exit 1
fi
sleep 1
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
    if [ "$i" -gt 100 ]; then
        echo "the game was still running 10 s after Escape"
        finish
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
echo "Escape ended the game with status 0"
