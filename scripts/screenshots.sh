#!/bin/bash
# Makes the README's screenshots from the real game in a private Xvfb:
#   scripts/screenshots.sh [KESTRUN]
# writes docs/screenshots/menu.png, race.png and game-over.png from the
# window at its opening size. Without KESTRUN it makes a Release build in
# build-release/, where it also builds the driver's probe.
#   scripts/screenshots.sh --windows
# builds the Windows exe (scripts/build-windows.sh) and writes
# docs/screenshots/windows-menu.png, the menu as Wine shows it.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
shots="$root/docs/screenshots"

if [ -z "${KESTRUN_SHOTS_IN_X:-}" ]; then
    "$root/scripts/install-deps.sh" test
    game=$("$root/scripts/build-release.sh" e2e_probe)
    if [ "${1:-}" = --windows ]; then
        "$root/scripts/build-windows.sh"
        export WINEPREFIX="$root/build-windows/wine-prefix" WINEDEBUG=-all
        [ -d "$WINEPREFIX" ] || { wineboot -i >/dev/null 2>&1 && wineserver -w; }
        set -- wine "$root/build-windows/kestrun.exe"
    else
        set -- "$(realpath -s "${1:-$game}")"
    fi
    KESTRUN_SHOTS_IN_X=1 exec "$root/scripts/run-with-xvfb.sh" "$0" "$@"
fi

# shellcheck source=scripts/drive.sh
. "$root/scripts/drive.sh"
drive_init "$(mktemp -d)" "$root/build-release/scripts/e2e_probe"
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

{ game_start "$@" && wait_phase menu 30; } || die "the game drew no menu"
if [ "$1" = wine ]; then
    keep windows-menu.png
    quit_game "in the menu"
else
    keep menu.png
    start_race || die "S did not start a race"
    # A little way into the race, with obstacles on the road ahead.
    race_frames 10 || die "the race did not get under way"
    keep race.png
    # With no key held the car stays in the middle lane until an obstacle
    # there ends the race.
    wait_phase over 120 || die "the race did not end"
    keep game-over.png
    quit_game "on the game-over screen"
fi
drive_finish "screenshots in $shots"
