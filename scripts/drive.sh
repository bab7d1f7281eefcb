# shellcheck shell=bash
# Drives the real game as a player does, in the X server named by DISPLAY
# (scripts/run-with-xvfb.sh starts a private one and shows its log when a
# check fails). Its probe (scripts/probe.cpp), built from the game's own
# headers, tells the game's facts and what X captures of its window show.
# Sourced by bash scripts; every function takes its inputs as arguments:
#   drive_init DIR PROBE       captures and the game's stderr go to DIR; PROBE: e2e_probe
#   fail MESSAGE               count a failed check; false
#   poll SECONDS CMD...        run CMD until it succeeds, for at most SECONDS;
#                              CMD's status 2 (no use waiting) ends it
#   game_start CMD...          start the game CMD, find and focus its window
#   game_ended                 the game's process has ended
#   window_manager             a window manager runs on the display
#   focus_on WINDOW            give WINDOW the keyboard focus
#   window_size                the game window's size, as WIDTHxHEIGHT
#   capture NAME               capture the game window into a new file, $last
#   forget                     delete the newest capture when the next comes
#   draws PHASE                a new capture shows menu, race or over
#   shows PHASE                so, while the game runs (status 2 once not)
#   sky_drawn                  a new capture shows a frame: sky in its top row
#   wait_phase PHASE SECONDS   poll shows PHASE; a failed check if it fails
#   start_race                 from the menu, S starts a race
#   race_frames N [CMD...]     capture the race until CMD... FILE succeeds (0)
#                              or the race has drawn N new frames (0 without
#                              CMD, 1 with); 2 if it ends or stalls for 30 s
#   moment same|differs        two captures a moment apart are the same/differ
#   glyphs_match FILE REFERENCE  the menu's start line, Chinese but its S, has
#                              REFERENCE's outline in FILE, up to a frame's offset
#   same_glyphs REFERENCE CMD...  so for the menus of the games REFERENCE and
#                              CMD; both quit
#   quit_game WHAT             Escape ends the game with status 0, no errors
#   stop_game                  end a game a failed check left running
#   drive_finish NAME          say how it went; the exit status for it
# Nothing waits a fixed time: each wait polls, with a generous limit. Only
# the game's own stderr lines and sanitizer reports count against it. When
# KESTRUN_E2E_PRELOAD is set, it becomes the game's LD_PRELOAD.

# What lasts from call to call: the failed checks; set by drive_init, the
# run's folder and probe, and the game's facts from the probe for the callers.
failures=0 drive_dir="" probe=""
# shellcheck disable=SC2034
title="" window="" window_instance="" window_class="" icon_sizes="" sky=""
# The running game's process, stderr's file and window; the capture counter,
# the newest capture, and one that decided nothing, to be deleted when the
# next is made, so long polls do not fill the disk.
game_pid="" game_err="" wid="" shot=0 last="" dropped=""

drive_init() {
    drive_dir=$1 probe=$2
    rm -rf "$drive_dir" && mkdir -p "$drive_dir"
    local facts
    if ! facts=$("$probe" facts) || ! eval "$facts" || [ -z "$title" ] || [ -z "$icon_sizes" ] ||
        [ -z "$sky" ]; then
        echo "drive: the probe $probe told no facts" >&2
        exit 2
    fi
}

fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
    return 1
}

poll() {
    local limit=$((SECONDS + $1))
    shift
    until "$@"; do
        [ "$?" -ne 2 ] || return 2
        [ "$SECONDS" -lt "$limit" ] || return 1
        sleep 0.1
    done
}

game_ended() {
    ! kill -0 "$game_pid" 2>/dev/null
}

# Waits for the mapped window: only a mapped window takes the focus. Without
# a window manager the window sits at (-1, -1), a pixel off the screen, and
# captures would lose its top row and left column: it is moved to the corner.
game_start() {
    game_err=$drive_dir/$(printf '%03d' $((shot + 1)))-game.stderr
    LD_PRELOAD=${KESTRUN_E2E_PRELOAD:-${LD_PRELOAD:-}} "$@" 2>"$game_err" &
    game_pid=$!
    wid=$(timeout 60 xdotool search --sync --onlyvisible --name "^$title\$" | head -1)
    local status="still runs"
    [ -n "$wid" ] || ! game_ended || { wait "$game_pid"; status="ended with status $?"; }
    [ -n "$wid" ] || fail "no window $title; the game $status: $(head -5 "$game_err")" || return
    window_manager || xdotool windowmove --sync "$wid" 0 0
    focus_on "$wid"
}

window_manager() {
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'
}

# Without a window manager xdotool sets the focus itself; with one, the
# manager is asked to activate the window. Done when the server says so.
focus_on() {
    local how=windowfocus
    window_manager && how=windowactivate
    xdotool "$how" --sync "$1"
    poll 30 focused "$1" || fail "the focus did not move to window $1"
}

focused() {
    [ "$(xdotool getwindowfocus -f)" = "$1" ]
}

window_size() {
    xdotool getwindowgeometry "$wid" | sed -n 's/^ *Geometry: //p'
}

capture() {
    rm -f ${dropped:+"$dropped"}
    dropped=""
    printf -v last '%s/%03d-%s.ppm' "$drive_dir" $((++shot)) "$1"
    import -window "$wid" -depth 8 "ppm:$last" 2>/dev/null
}

forget() {
    dropped=$last
}

draws() {
    { capture "$1" && [ "$("$probe" phase "$last")" = "$1" ]; } || { forget && return 1; }
}

shows() {
    ! game_ended || return 2
    draws "$1"
}

sky_drawn() {
    local top="%[pixel:p{$((${window%x*} / 2)),5}]"
    capture frame || return
    [ "$(/usr/bin/convert "$last" -format "$top" info:)" = "$sky" ] || { forget && return 1; }
}

wait_phase() {
    poll "$2" shows "$1" ||
        fail "no $1 screen within $2 s (last seen: $("$probe" phase "$last" 2>/dev/null), $last)"
}

start_race() {
    wait_phase menu 30 && xdotool key s && wait_phase race 10
}

# A new frame is told by the race's texts: the score changes every tick.
race_frames() {
    local wanted=$1 frames=0 from limit=$((SECONDS + 30))
    shift
    shows race || return 2
    from=$last
    while :; do
        [ "$#" -eq 0 ] || ! "$@" "$last" || return 0
        [ "$frames" -lt "$wanted" ] || return $(($# > 0))
        [ "$SECONDS" -lt "$limit" ] || fail "no new race frame within 30 s ($last)" || return 2
        shows race || return 2
        if [ "$("$probe" differ "$from" "$last" hud)" -gt 0 ]; then
            frames=$((frames + 1))
            rm -f "$from"
            from=$last
            limit=$((SECONDS + 30))
        else
            forget
        fi
    done
}

moment() {
    capture moment || return
    local first=$last pixels
    sleep 0.2
    capture moment && pixels=$("$probe" differ "$first" "$last" window) || return
    if [ "$1" = same ]; then [ "$pixels" -eq 0 ]; else [ "$pixels" -gt 0 ]; fi
}

glyphs_match() {
    local judged
    judged=$("$probe" glyphs "$1" "$2") || return
    echo "menu's start line in ${1##*/}: ${judged% *} outline pixels, ${judged#* } off ${2##*/}'s"
    [ "${judged% *}" -gt 150 ] && [ "${judged#* }" -eq 0 ]
}

# Starts the game CMD... and quits it in the menu, whose capture stays $last.
menu_of() {
    { game_start "$@" && wait_phase menu 30; } || { stop_game && return 1; }
    quit_game "in the menu of $*"
}

same_glyphs() {
    menu_of "$1" || return
    local expected=$last
    menu_of "${@:2}" || return
    glyphs_match "$last" "$expected" || fail "the menu of ${*:2} does not show the glyphs of $1's"
}

quit_game() {
    xdotool key Escape
    poll 30 game_ended || { stop_game && fail "Escape $1 did not end the game"; } || return
    wait "$game_pid"
    local status=$? errors
    game_pid=""
    [ "$status" -eq 0 ] || fail "Escape $1: exit status $status, not 0" || return
    ! errors=$(grep -E '^kestrun:|AddressSanitizer|LeakSanitizer|runtime error:' "$game_err") ||
        fail "the game reported errors ($1): $(head -5 <<<"$errors")" || return
    echo "Escape $1: exit status $status"
}

stop_game() {
    game_ended || { kill -9 "$game_pid" && wait "$game_pid" 2>/dev/null; }
    game_pid=""
}

drive_finish() {
    if [ "$failures" -gt 0 ]; then
        echo "$1: $failures check(s) failed; captures and the game's stderr in $drive_dir" >&2
        [ ! -s "$game_err" ] || { echo "the last run's stderr:" && head -20 "$game_err"; } >&2
        return 1
    fi
    echo "$1: all checks passed"
}
