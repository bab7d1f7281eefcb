# shellcheck shell=bash
# Drives the real game as a player does, in the X server named by DISPLAY
# (scripts/run-with-xvfb.sh starts a private one and shows its log when a
# check fails): starts it, finds and focuses its window, sends keys, looks at
# captures and polls what they show, and quits it with Escape. What it
# knows of the game (its title, window size and sky) and of its pictures it
# asks of its probe (scripts/probe.cpp), built from the game's own
# headers. Sourced by bash scripts:
#   drive_init DIR PROBE   captures and each run's stderr go to DIR; PROBE
#                          is the e2e_probe binary
#   game_start CMD...      start the game; its window in $wid
#   focus_on WINDOW        give WINDOW the keyboard focus
#   window_size            the window's size, as WIDTHxHEIGHT
#   capture NAME           capture the window; the file in $last
#   poll SECONDS CMD...    run CMD until it succeeds, for at most SECONDS
#   game_ended             the game's process has ended
#   sky_drawn              a frame is drawn: the sky fills the top row
#   shows PHASE            a capture shows menu, race or over; what it
#                          showed in $seen
#   frames_pass N          the race draws N new frames, seen by its texts
#   moving / still         two captures a moment apart differ / are the same
#   same_glyphs REFERENCE CMD...  the menu's start line, Chinese but for
#                          its S, has as many outline pixels (over 150) drawn
#                          by the game CMD as by the game REFERENCE; both quit
#   quit_game WHAT         Escape ends the game with status 0 and no errors
#   stop_game              end a game a failed check left running
#   fail MESSAGE           count a failed check
#   drive_finish NAME      say how it went; the exit status for it
# Nothing waits a fixed time: each wait polls, with a generous limit. Only
# the game's own stderr lines and sanitizer reports count against it. When
# KESTRUN_E2E_PRELOAD is set, it becomes the game's LD_PRELOAD.
# DRIVE_WM=1 says a window manager places and focuses the windows.

drive_dir=""
probe=""
failures=0
run=0
game_pid=""
game_err=""
wid=""
shot=0
last=""
seen=""
outline=""
undecided=""
# The game's facts, from the probe.
title=""
window=""
sky=""

drive_init() {
    drive_dir=$1
    probe=$2
    rm -rf "$drive_dir"
    mkdir -p "$drive_dir"
    local facts
    if ! facts=$("$probe" facts) || ! eval "$facts" || [ -z "$title" ] || [ -z "$sky" ]; then
        echo "drive: the probe $probe told no facts" >&2
        exit 2
    fi
}

fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
    return 1
}

# CMD's status 2 says that waiting longer is of no use: poll stops with it.
poll() {
    local limit=$((SECONDS + $1)) status
    shift
    while :; do
        "$@" && return 0
        status=$?
        [ "$status" -ne 2 ] || return 2
        [ "$SECONDS" -lt "$limit" ] || return 1
        sleep 0.1
    done
}

game_ended() {
    ! kill -0 "$game_pid" 2>/dev/null
}

# Starts the game, its stderr kept as the run's, and waits for its mapped
# window: only a mapped window takes the focus. Without a window manager the
# window sits at (-1, -1), a pixel off the screen, and captures would lose
# its top row and left column, so it is moved to the corner.
game_start() {
    run=$((run + 1))
    game_err=$drive_dir/run$run.stderr
    if [ -n "${KESTRUN_E2E_PRELOAD:-}" ]; then
        LD_PRELOAD=$KESTRUN_E2E_PRELOAD "$@" 2>"$game_err" &
    else
        "$@" 2>"$game_err" &
    fi
    game_pid=$!
    wid=$(timeout 60 xdotool search --sync --onlyvisible --name "^$title\$" | head -1)
    if [ -z "$wid" ]; then
        local status=running
        if game_ended; then
            wait "$game_pid"
            status="ended with status $?"
        fi
        fail "no window titled $title appeared (the game $status): $(head -5 "$game_err")"
        return 1
    fi
    [ -n "${DRIVE_WM:-}" ] || xdotool windowmove --sync "$wid" 0 0
    focus_on "$wid"
}

# Without a window manager xdotool sets the focus itself; with one, the
# manager is asked to activate the window. Done when the server says so.
focus_on() {
    if [ -n "${DRIVE_WM:-}" ]; then
        xdotool windowactivate --sync "$1"
    else
        xdotool windowfocus --sync "$1"
    fi
    poll 30 focused "$1" || fail "the focus did not move to window $1"
}

focused() {
    [ "$(xdotool getwindowfocus -f)" = "$1" ]
}

# The window's inner size, as WIDTHxHEIGHT.
window_size() {
    eval "$(xdotool getwindowgeometry --shell "$wid")"
    echo "${WIDTH}x${HEIGHT}"
}

# Into the next numbered file of the run's folder.
capture() {
    shot=$((shot + 1))
    last=$drive_dir/$(printf '%03d' "$shot")-$1.ppm
    import -window "$wid" -depth 8 "ppm:$last" 2>/dev/null
}

# Drops a capture that decided nothing, so long polls do not fill the disk.
forget() {
    rm -f "$1"
}

sky_drawn() {
    local top="%[pixel:p{$((${window%x*} / 2)),5}]"
    capture frame && [ "$(/usr/bin/convert "$last" -format "$top" info:)" = "$sky" ]
}

# Only the last capture that showed another phase is kept, so long polls do
# not fill the disk. Status 2 once the game has ended: no phase will come.
shows() {
    ! game_ended || return 2
    capture "$1" || return
    seen=$("$probe" phase "$last")
    [ -z "$undecided" ] || forget "$undecided"
    undecided=""
    [ "$seen" = "$1" ] || { undecided=$last && return 1; }
}

# The race's texts: the score changes with every tick.
hud_changed() {
    [ "$("$probe" differ "$1" "$2" hud)" -gt 0 ]
}

# One more capture of the race: counted in $frames when its texts changed
# since $frame_from. Status 2 once the race is over.
count_frame() {
    shows race || return 2
    if hud_changed "$frame_from" "$last"; then
        frames=$((frames + 1))
        forget "$frame_from"
        frame_from=$last
    else
        forget "$last"
    fi
    [ "$frames" -ge "$frames_wanted" ]
}

# Captures until the race has drawn $1 new frames (its texts changed $1
# times), for at most 30 s; false if the race ends first.
frames_pass() {
    frames=0
    frames_wanted=$1
    shows race || return
    frame_from=$last
    local status=0
    poll 30 count_frame || status=$?
    [ "$status" -ne 1 ] || fail "no new race frame within 30 s ($last)"
    return "$status"
}

# Two captures a moment apart; the pixels that differ in $moved. False when
# a capture fails.
compare_moment() {
    capture moment || return
    local first=$last
    sleep 0.2
    capture moment || return
    # compare's status says whether they differ; its output, by how much
    # (ImageMagick 7.1.2 adds the share in brackets: "0 (0)").
    moved=$(compare -metric AE "$first" "$last" null: 2>&1 || true)
    moved=${moved%% *}
}

moving() {
    compare_moment && [ "$moved" != 0 ]
}

still() {
    compare_moment && [ "$moved" = 0 ]
}

# The lines of the run's stderr that fail it; true when there are none.
no_game_errors() {
    ! grep -E '^kestrun:|AddressSanitizer|LeakSanitizer|runtime error:' "$game_err"
}

quit_game() {
    xdotool key Escape
    if ! poll 30 game_ended; then
        stop_game
        fail "Escape $1 did not end the game"
        return 1
    fi
    wait "$game_pid"
    local status=$?
    game_pid=""
    [ "$status" -eq 0 ] || fail "Escape $1: exit status $status, not 0" || return 1
    no_game_errors >"$game_err.errors" ||
        fail "the game reported errors ($1): $(head -5 "$game_err.errors")" || return 1
    echo "Escape $1: exit status $status"
}

# The outline pixels of the menu's start line as the game CMD... draws it,
# in $outline.
start_line_outline() {
    game_start "$@" || return
    poll 30 shows menu || fail "no menu was drawn by $*" || return
    outline=$("$probe" outline "$last")
    quit_game "in the menu of $*"
}

same_glyphs() {
    local reference=$1 expected
    shift
    start_line_outline "$reference" || return
    expected=$outline
    start_line_outline "$@" || return
    echo "outline pixels of the menu's start line: $outline ($*), $expected ($reference)"
    [ "$outline" -gt 150 ] || fail "the menu of $* shows no Chinese characters"
    [ "$outline" = "$expected" ] || fail "the menu's glyphs of $* differ from those of $reference"
}

stop_game() {
    if [ -n "$game_pid" ] && ! game_ended; then
        kill -9 "$game_pid"
        wait "$game_pid" 2>/dev/null
    fi
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
