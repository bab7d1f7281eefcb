#!/bin/bash
# Makes the README's screenshots from the real game in a private Xvfb:
#   scripts/screenshots.sh [KESTRUN]
# writes docs/screenshots/menu.png, race.png and game-over.png from the
# window at its opening size. Without KESTRUN it uses the game of the test
# build in build/, which it builds, with the screen probe the checks use.
#   scripts/screenshots.sh --windows
# builds the Windows exe (scripts/build-windows.sh) and writes
# docs/screenshots/windows-menu.png, the menu as Wine shows it.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
shots="$root/docs/screenshots"
probe="$root/build/tests/e2e_probe"

if [ -z "${KESTRUN_SHOTS_IN_X:-}" ]; then
    "$root/scripts/install-deps.sh" test
    cmake -S "$root" -B "$root/build" >/dev/null
    cmake --build "$root/build" -j "$(nproc)" --target kestrun e2e_probe >/dev/null
    if [ "${1:-}" = --windows ]; then
        "$root/scripts/build-windows.sh"
        export WINEPREFIX="$root/build-windows/wine-prefix" WINEDEBUG=-all
        [ -d "$WINEPREFIX" ] || { wineboot -i >/dev/null 2>&1 && wineserver -w; }
        set -- wine "$root/build-windows/kestrun.exe"
    elif [ $# -ge 1 ]; then
        set -- "$(cd "$(dirname "$1")" && pwd)/$(basename "$1")"
    else
        set -- "$root/build/kestrun"
    fi
    KESTRUN_SHOTS_IN_X=1 exec "$root/scripts/run-with-xvfb.sh" "$0" "$@"
fi

# shellcheck source=scripts/drive.sh
. "$root/scripts/drive.sh"
drive_init "$(mktemp -d)" "$probe"
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

# A little way into the race: the scene has moved on by a tenth of its
# pixels since the race's first capture.
under_way() {
    capture race &&
        [ "$("$probe" differ "$race_start" "$last" scene)" -gt $((${window%x*} * ${window#*x} / 10)) ]
}

game_start "$@" || die "the game did not start"
poll 30 shows menu || die "the menu was never drawn"
if [ "$1" = wine ]; then
    keep windows-menu.png
    quit_game "in the menu"
    drive_finish "screenshots: windows-menu.png in $shots"
    exit
fi
keep menu.png
xdotool key s
poll 10 shows race || die "S did not start a race"
race_start=$last
poll 10 under_way || die "the race did not get under way"
keep race.png
# With no key held the car stays in the middle lane until an obstacle there
# ends the race.
poll 120 shows over || die "the race did not end"
keep game-over.png
quit_game "on the game-over screen"
drive_finish "screenshots: menu.png, race.png and game-over.png in $shots"
