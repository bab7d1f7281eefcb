#!/bin/sh
# Makes the README's screenshots from the real game in a private Xvfb:
#   scripts/screenshots.sh [KESTRUN]
# writes docs/screenshots/menu.png, race.png and game-over.png from an
# 800x600 window. Without KESTRUN it makes a Release build in build-release/.
#   scripts/screenshots.sh --windows
# builds the Windows exe (scripts/build-windows.sh) and writes
# docs/screenshots/windows-menu.png, the menu as Wine shows it.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
shots="$root/docs/screenshots"

if [ -z "${KESTRUN_SHOTS_IN_X:-}" ]; then
    if [ "${1:-}" = --windows ]; then
        "$root/scripts/build-windows.sh"
        apt_missing=$(dpkg-query -W -f='${Status}' wine64 2>/dev/null | grep -c "ok installed" || true)
        [ "$apt_missing" = 1 ] || apt-get install -y -qq wine wine64
        export WINEPREFIX="$root/build-windows/wine-prefix" WINEDEBUG=-all
        [ -d "$WINEPREFIX" ] || { wineboot -i >/dev/null 2>&1 && wineserver -w; }
        KESTRUN_SHOTS_IN_X=windows exec "$root/tests/run-with-xvfb.sh" "$0" \
            "$root/build-windows/kestrun.exe"
    elif [ $# -ge 1 ]; then
        game=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
    else
        "$root/scripts/install-deps.sh" test
        cmake -S "$root" -B "$root/build-release" -DCMAKE_BUILD_TYPE=Release \
            -DKESTRUN_BUILD_TESTS=OFF >/dev/null
        cmake --build "$root/build-release" -j "$(nproc)" --target kestrun >/dev/null
        game="$root/build-release/kestrun"
    fi
    KESTRUN_SHOTS_IN_X=1 exec "$root/tests/run-with-xvfb.sh" "$0" "$game"
fi

game=$1
work=$(mktemp -d)
if [ "$KESTRUN_SHOTS_IN_X" = windows ]; then
    wine "$game" 2>/dev/null &
else
    "$game" &
fi
pid=$!
trap 'kill $pid 2>/dev/null; rm -rf "$work"' EXIT

fail() {
    echo "screenshots: $*" >&2
    exit 1
}

wid=$(timeout 90 xdotool search --sync --onlyvisible --name '^Kestrun$' | head -1)
[ -n "$wid" ] || fail "no Kestrun window appeared"
# Without a window manager the window sits one pixel off the screen's corner.
xdotool windowmove --sync "$wid" 0 0
xdotool windowfocus --sync "$wid"

capture() {
    import -window "$wid" "$1"
}

# Polls every 0.2 s, for at most $1 tries, until the named test passes.
until_true() {
    tries=$1
    shift
    while ! "$@"; do
        tries=$((tries - 1))
        [ "$tries" -gt 0 ] || return 1
        sleep 0.2
    done
}

sky_drawn() {
    capture "$work/now.png"
    [ "$(/usr/bin/convert "$work/now.png" -format '%[pixel:p{400,5}]' info:)" = "srgb(115,184,235)" ]
}

# The world stands still: two captures a moment apart are the same.
frozen() {
    capture "$work/a.png"
    sleep 0.3
    capture "$work/b.png"
    [ "$(compare -metric AE "$work/a.png" "$work/b.png" null: 2>&1)" = 0 ]
}

# The picture is no longer the one given.
moved_from() {
    capture "$work/now.png"
    [ "$(compare -metric AE "$1" "$work/now.png" null: 2>&1)" != 0 ]
}

until_true 150 sky_drawn || fail "the first frame was never drawn"
if [ "$KESTRUN_SHOTS_IN_X" = windows ]; then
    capture "$shots/windows-menu.png"
    xdotool key Escape
    wait $pid
    echo "screenshots: wrote windows-menu.png in $shots"
    exit 0
fi
capture "$shots/menu.png"

xdotool key s
until_true 50 moved_from "$shots/menu.png" || fail "S did not start a race"
# A little way into the race, with obstacles on the road ahead.
sleep 1.5
capture "$shots/race.png"

# With no key held the car stays in the middle lane until an obstacle there
# ends the race.
until_true 600 frozen || fail "the race did not end"
capture "$shots/game-over.png"
xdotool key Escape
wait $pid
echo "screenshots: wrote menu.png, race.png and game-over.png in $shots"
