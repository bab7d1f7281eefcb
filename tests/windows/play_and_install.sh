#!/bin/bash
# The Windows build under Wine, in the X server named by DISPLAY
# (tests/run-with-xvfb.sh starts a private one):
#   play_and_install.sh BUILD_WINDOWS_DIR
# plays kestrun.exe (an 800x600 "Kestrun" window, the menu's Chinese texts
# drawn, S starts a race that moves, Escape exits with status 0), then
# installs the installer silently, checks the installed exe and the
# uninstaller, starts the game from the Start Menu shortcut, and uninstalls. WINEPREFIX names the one prefix the run
# shares (made here if it does not exist yet).
set -u
build=$1
export WINEDEBUG=-all
export WINEPREFIX=${WINEPREFIX:-$build/wine-prefix}
out=$PWD/windows-e2e
rm -rf "$out"
mkdir -p "$out"
failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
    return 1
}

[ -d "$WINEPREFIX" ] || wineboot -i >/dev/null 2>&1 || fail "wineboot could not make $WINEPREFIX"
# A Wine server still running from programs started without this X server
# (the unit suites, wineboot) would keep their display: windows opened now
# would never reach this one.
wineserver -k 2>/dev/null
wineserver -w

# True once $1 holds a capture of the window whose top row is the sky.
sky_drawn() {
    import -window "$wid" "$1" 2>/dev/null &&
        [ "$(/usr/bin/convert "$1" -format '%[pixel:p{400,5}]' info:)" = "srgb(115,184,235)" ]
}

# Black pixels are text outline: nothing else in the scene is black.
outline_pixels() {
    /usr/bin/convert "$1" -crop "$2" +repage txt:- | grep -c '#000000'
}

play() {
    wine "$build/kestrun.exe" 2>"$out/stderr" &
    local pid=$! i
    wid=$(timeout 60 xdotool search --sync --onlyvisible --name '^Kestrun$' | head -1)
    [ -n "$wid" ] || fail "no window titled Kestrun appeared" || return
    eval "$(xdotool getwindowgeometry --shell "$wid")"
    [ "${WIDTH}x${HEIGHT}" = 800x600 ] || fail "the client area is ${WIDTH}x${HEIGHT}"
    for ((i = 0; i < 150; i++)); do
        sky_drawn "$out/menu.png" && break
        sleep 0.2
    done
    ((i < 150)) || fail "no frame was drawn" || return
    # The title's two Chinese characters stand right of "Kestrun" (x 330 to
    # about 395, baseline 340); the GLUT font's fallback leaves that empty.
    local chinese
    chinese=$(outline_pixels "$out/menu.png" 50x26+398+318)
    echo "outline pixels of the title's Chinese characters: $chinese"
    [ "$chinese" -gt 40 ] || fail "the title shows no Chinese characters"

    xdotool windowfocus --sync "$wid"
    xdotool key s
    local moved=no
    for ((i = 0; i < 50; i++)); do
        import -window "$wid" "$out/race-a.png" 2>/dev/null
        sleep 0.2
        import -window "$wid" "$out/race-b.png" 2>/dev/null
        if [ "$(compare -metric AE "$out/race-a.png" "$out/race-b.png" null: 2>&1)" != 0 ]; then
            moved=yes
            break
        fi
    done
    [ "$moved" = yes ] || fail "S did not start a race that moves"

    xdotool key Escape
    for ((i = 0; i < 300; i++)); do
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
    done
    if kill -0 "$pid" 2>/dev/null; then
        kill "$pid"
        fail "Escape did not end the game"
    fi
    wait "$pid"
    local status=$?
    echo "Escape: exit status $status"
    [ "$status" -eq 0 ] || fail "Escape ended the game with status $status"
    if grep -E '^kestrun:' "$out/stderr"; then
        fail "the game reported errors"
    fi
}

# Opens the Start Menu shortcut as a player does. start waits for the game
# (/wait) and ends with its exit status; with a missing target it shows a
# modal error instead, so no window comes and it is ended here.
start_from_shortcut() {
    local pid i status
    wine start /wait /unix "$1" 2>"$out/shortcut.stderr" &
    pid=$!
    wid=$(timeout 60 xdotool search --sync --onlyvisible --name '^Kestrun$' | head -1)
    if [ -z "$wid" ]; then
        kill "$pid" 2>/dev/null
        wineserver -k 2>/dev/null
        fail "the Start Menu shortcut started no Kestrun window"
        return
    fi
    for ((i = 0; i < 150; i++)); do
        sky_drawn "$out/shortcut.png" && break
        sleep 0.2
    done
    ((i < 150)) || fail "the game started from the shortcut drew no frame"
    xdotool windowfocus --sync "$wid"
    xdotool key Escape
    for ((i = 0; i < 300; i++)); do
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
    done
    if kill -0 "$pid" 2>/dev/null; then
        kill "$pid"
        wineserver -k 2>/dev/null
        fail "Escape did not end the game started from the shortcut"
        return
    fi
    wait "$pid"
    status=$?
    echo "started from the Start Menu shortcut; Escape: exit status $status"
    [ "$status" -eq 0 ] || fail "the game started from the shortcut exited with status $status"
}

install_and_uninstall() {
    local setup dir menu
    setup=$(ls "$build"/kestrun-*-win64.exe | head -1)
    dir="$WINEPREFIX/drive_c/Program Files/Kestrun"
    menu="$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Kestrun"
    wine "$setup" /S && wineserver -w || fail "the installer failed"
    cmp -s "$dir/kestrun.exe" "$build/kestrun.exe" || fail "the installed exe is not the one built"
    [ -f "$dir/Uninstall.exe" ] || fail "no uninstaller" || return
    echo "installed: $(cd "$dir" && echo *), shortcut $(basename "$menu")/Kestrun.lnk"
    # Windows' list of installed programs shows the game's icon from its exe.
    wine reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Kestrun' \
        /v DisplayIcon 2>/dev/null | tr -d '\r' |
        grep -q 'REG_SZ *C:\\Program Files\\Kestrun\\kestrun.exe$' ||
        fail "the uninstall entry's icon is not the installed exe"
    start_from_shortcut "$menu/Kestrun.lnk"
    # The uninstaller restarts itself from a temporary copy: wait for it.
    wine "$dir/Uninstall.exe" /S && wineserver -w
    [ ! -e "$dir/kestrun.exe" ] || fail "the uninstaller left the exe"
    [ ! -e "$menu/Kestrun.lnk" ] || fail "the uninstaller left the shortcut"
}

play
install_and_uninstall
wineserver -k 2>/dev/null
if [ "$failures" -gt 0 ]; then
    echo "windows: $failures check(s) failed; captures in $out" >&2
    exit 1
fi
echo "windows: all checks passed"
