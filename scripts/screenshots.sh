#!/bin/bash
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
    "$root/scripts/install-deps.sh" test
    if [ "${1:-}" = --windows ]; then
        "$root/scripts/build-windows.sh"
        export WINEPREFIX="$root/build-windows/wine-prefix" WINEDEBUG=-all
        [ -d "$WINEPREFIX" ] || { wineboot -i >/dev/null 2>&1 && wineserver -w; }
        set -- wine "$root/build-windows/kestrun.exe"
    elif [ $# -ge 1 ]; then
        set -- "$(cd "$(dirname "$1")" && pwd)/$(basename "$1")"
    else
        game=$("$root/scripts/build-release.sh")
        set -- "$game"
    fi
    KESTRUN_SHOTS_IN_X=1 exec "$root/tests/run-with-xvfb.sh" "$0" "$@"
fi

# shellcheck source=tests/drive.sh
. "$root/tests/drive.sh"
drive_init "$(mktemp -d)"
trap 'stop_game; rm -rf "$drive_dir"' EXIT

die() {
    fail "$1"
    drive_finish screenshots
    exit 1
}

# Saves the last capture as the named screenshot.
keep() {
    /usr/bin/convert "$last" "png:$shots/$1"
}

# The picture is no longer the menu's.
left_the_menu() {
    capture race && [ "$(compare -metric AE "$shots/menu.png" "$last" null: 2>&1)" != 0 ]
}

game_start "$@" || die "the game did not start"
poll 30 sky_drawn || die "the first frame was never drawn"
if [ "$1" = wine ]; then
    keep windows-menu.png
    quit_game "in the menu"
    drive_finish "screenshots: windows-menu.png in $shots"
    exit
fi
keep menu.png
xdotool key s
poll 10 left_the_menu || die "S did not start a race"
# A little way into the race, with obstacles on the road ahead.
sleep 1.5
capture race && keep race.png
# With no key held the car stays in the middle lane until an obstacle there
# ends the race.
poll 120 still || die "the race did not end"
keep game-over.png
quit_game "on the game-over screen"
drive_finish "screenshots: menu.png, race.png and game-over.png in $shots"
