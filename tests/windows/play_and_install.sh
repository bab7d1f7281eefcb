#!/bin/bash
# The Windows build under Wine, in the X server named by DISPLAY
# (scripts/run-with-xvfb.sh starts a private one):
#   play_and_install.sh BUILD_WINDOWS_DIR PROBE LINUX_KESTRUN
# plays kestrun.exe (a window of the game's title and size, the menu's
# Chinese texts drawn with the very glyphs of the Linux game, S starts a race
# that moves, Escape exits with status 0), then
# installs the installer silently, checks the installed exe and the
# uninstaller, starts the game from the Start Menu shortcut, and uninstalls.
# WINEPREFIX names the one prefix the run shares (made here if it does not
# exist yet). PROBE is the Linux build's e2e_probe, which knows the game's
# facts. Captures and the game's stderr are kept in ./windows-e2e.
set -u
build=$1
export WINEDEBUG=-all
export WINEPREFIX=${WINEPREFIX:-$build/wine-prefix}
# shellcheck source=scripts/drive.sh
. "$(dirname "$0")/../../scripts/drive.sh"
drive_init "$PWD/windows-e2e" "$2"

[ -d "$WINEPREFIX" ] || wineboot -i >/dev/null 2>&1 || fail "wineboot could not make $WINEPREFIX"
# A Wine server still running from programs started without this X server
# (the unit suites, wineboot) would keep their display: windows opened now
# would never reach this one.
wineserver -k 2>/dev/null
wineserver -w

# Ends what a failed check left running; Wine's own processes too.
stop_wine() {
    stop_game
    wineserver -k 2>/dev/null
}
trap stop_wine EXIT

play() {
    same_glyphs "$3" wine "$build/kestrun.exe"
    game_start wine "$build/kestrun.exe" || return
    [ "$(window_size)" = "$window" ] || fail "the client area is $(window_size)"
    start_race && { poll 10 moment differs || fail "S did not start a race that moves"; }
    quit_game "in a race"
}

window_closed() {
    ! xdotool search --name "^$title\$" >/dev/null 2>&1
}

# Opens the Start Menu shortcut as a player does. Whether start waits for
# the game differs between Wine versions, so the game is judged by its
# window: it comes, draws its menu and goes on Escape. With a missing target
# start shows a modal error instead, and no game window comes.
start_from_shortcut() {
    game_start wine start /unix "$1" || fail "the Start Menu shortcut started no game" || return
    poll 30 draws menu || fail "the game started from the Start Menu shortcut drew no menu"
    xdotool key Escape
    poll 30 window_closed || fail "Escape did not end the game started from the Start Menu shortcut"
    echo "the Start Menu shortcut started the game; Escape ended it"
}

install_and_uninstall() {
    local setup dir menu licence
    setup=("$build"/kestrun-*-win64.exe)
    dir="$WINEPREFIX/drive_c/Program Files/$title"
    menu="$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/$title"
    { wine "${setup[0]}" /S && wineserver -w; } || fail "the installer failed"
    cmp -s "$dir/kestrun.exe" "$build/kestrun.exe" || fail "the installed exe is not the one built"
    [ -f "$dir/Uninstall.exe" ] || fail "no uninstaller" || return
    echo "installed: $(cd "$dir" && echo *), shortcut $(basename "$menu")/$title.lnk"
    # The notices of what the exe carries: the font, freeglut, winpthreads.
    for licence in glyphs:Apache freeglut:freeglut winpthreads:winpthreads; do
        grep -qi "${licence#*:}" "$dir/licences/${licence%%:*}.txt" 2>/dev/null ||
            fail "no ${licence%%:*} licence installed"
    done
    # Windows' list of installed programs shows the game's icon from its exe.
    wine reg query "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\$title" \
        /v DisplayIcon 2>/dev/null | tr -d '\r' |
        grep -q "REG_SZ *C:\\\\Program Files\\\\$title\\\\kestrun.exe\$" ||
        fail "the uninstall entry's icon is not the installed exe"
    start_from_shortcut "$menu/$title.lnk"
    stop_wine
    # The uninstaller restarts itself from a temporary copy: wait for it.
    wine "$dir/Uninstall.exe" /S && wineserver -w
    [ ! -e "$dir/kestrun.exe" ] || fail "the uninstaller left the exe"
    [ ! -e "$menu/$title.lnk" ] || fail "the uninstaller left the shortcut"
}

play "$@"
install_and_uninstall
drive_finish windows
