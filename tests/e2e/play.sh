#!/bin/bash
# Plays the real game the way a player would, in the X server named by
# DISPLAY (tests/run-with-xvfb.sh starts a private one): keys through xdotool,
# eyes through X captures of the window read by e2e_probe.
#
#   play.sh KESTRUN PROBE phases   menu, race, game over, restart, menu,
#                                  Escape in each phase, resizing
#   play.sh KESTRUN PROBE storm    a minute of random keys, then still playable
#
# Every run of the game has KESTRUN_GL_CHECK=1, so any GL error reaches its
# stderr, which must stay empty (sanitizer reports land there too). When
# KESTRUN_E2E_PRELOAD is set, it becomes LD_PRELOAD for the game alone.
# Captures and the game's stderr are kept in ./e2e-SCENARIO for inspection.
set -u

kestrun=$1
probe=$2
scenario=$3
out=$PWD/e2e-$scenario
rm -rf "$out"
mkdir -p "$out"

failures=0
run=0
game_pid=""
wid=""
shot=0
last=""

fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
    return 1
}

start_game() {
    run=$((run + 1))
    echo "-- game run $run: $1"
    local err=$out/run$run.stderr
    if [ -n "${KESTRUN_E2E_PRELOAD:-}" ]; then
        LD_PRELOAD=$KESTRUN_E2E_PRELOAD KESTRUN_GL_CHECK=1 "$kestrun" 2>"$err" &
    else
        KESTRUN_GL_CHECK=1 "$kestrun" 2>"$err" &
    fi
    game_pid=$!
    # Only a mapped window takes the focus.
    wid=$(timeout 60 xdotool search --sync --onlyvisible --name '^Kestrun$' | head -1)
    [ -n "$wid" ] || fail "no window titled Kestrun appeared" || return 1
    # With no window manager the window sits at (-1, -1), one pixel off the
    # screen, and captures would lose its top row and left column.
    xdotool windowmove --sync "$wid" 0 0
    xdotool windowfocus --sync "$wid"
}

# Captures the window into the next numbered file, named in $last.
capture() {
    shot=$((shot + 1))
    last=$out/$(printf '%03d' "$shot")-$1.ppm
    import -window "$wid" -depth 8 "ppm:$last" 2>/dev/null
}

# True once the screen shows the phase (menu, race or over) within $2 s;
# the last phase seen is left in $seen.
seen=""
reaches() {
    local want=$1 limit=$((SECONDS + $2))
    seen=""
    while [ "$SECONDS" -le "$limit" ] && kill -0 "$game_pid" 2>/dev/null; do
        capture "$want"
        seen=$("$probe" phase "$last")
        [ "$seen" = "$want" ] && return 0
        sleep 0.2
    done
    return 1
}

wait_phase() {
    reaches "$1" "$2" || fail "no $1 screen within $2 s (last seen: ${seen:-nothing}, $last)"
}

# Escape must end the game with status 0 and a clean stderr.
quit_game() {
    xdotool key Escape
    local limit=$((SECONDS + 30))
    while kill -0 "$game_pid" 2>/dev/null && [ "$SECONDS" -le "$limit" ]; do
        sleep 0.1
    done
    if kill -0 "$game_pid" 2>/dev/null; then
        kill -9 "$game_pid"
        fail "Escape $1 did not end the game"
    fi
    wait "$game_pid"
    local status=$?
    game_pid=""
    [ "$status" -eq 0 ] || fail "Escape $1: exit status $status, not 0"
    if [ -s "$out/run$run.stderr" ]; then
        fail "the game wrote to stderr ($1):" || true
        head -20 "$out/run$run.stderr" >&2
    fi
    echo "Escape $1: exit status $status"
}

window_size() {
    eval "$(xdotool getwindowgeometry --shell "$wid")"
    echo "${WIDTH}x${HEIGHT}"
}

check_window() {
    local name size
    name=$(xdotool getwindowname "$wid")
    size=$(window_size)
    [ "$name" = "Kestrun" ] || fail "window title is '$name'"
    [ "$size" = "800x600" ] || fail "window is $size, not 800x600"
}

# Two captures a second apart must both show the HUD, with a new score.
check_score_runs() {
    capture score-a
    local a=$last
    sleep 1
    capture score-b
    local b=$last
    [ "$("$probe" phase "$a")" = race ] && [ "$("$probe" phase "$b")" = race ] ||
        fail "the race did not last a second ($a, $b)" || return 1
    local changed
    changed=$("$probe" differ "$a" "$b" 0 5 200 25)
    [ "$changed" -gt 0 ] || fail "the score did not change in a second ($a, $b)"
}

# Holding Right must move the car's pixels to the right.
check_steering() {
    capture car-before
    local before
    before=$("$probe" car "$last")
    xdotool keydown Right
    sleep 0.6
    capture car-after
    xdotool keyup Right
    local after
    after=$("$probe" car "$last")
    echo "car centre before/after holding Right: $before -> $after"
    [ "$before" -ge 0 ] && [ "$after" -gt $((before + 20)) ] ||
        fail "holding Right did not move the car right ($before -> $after)"
}

play_through_the_phases() {
    start_game "menu, race, game over, restart, menu" || return
    check_window
    wait_phase menu 30 || return
    xdotool key s
    wait_phase race 10 || return
    check_score_runs
    # No key held: the first race's obstacles are the same every run, and
    # one of them ends it.
    wait_phase over 120 || return
    xdotool key r
    wait_phase race 10 || return
    check_steering
    wait_phase over 120 || return
    xdotool key m
    wait_phase menu 10 || return
    xdotool key s
    wait_phase race 10 || return
    quit_game "in a race"
}

escape_in_menu() {
    start_game "Escape in the menu" || return
    wait_phase menu 30 || return
    quit_game "in the menu"
}

escape_on_game_over() {
    start_game "Escape on the game-over screen" || return
    wait_phase menu 30 || return
    xdotool key s
    wait_phase race 10 || return
    wait_phase over 120 || return
    quit_game "on the game-over screen"
}

# X has no zero-sized windows: asked for a height of 0, the window gets 1.
survive_resizing() {
    start_game "resizing during a race" || return
    wait_phase menu 30 || return
    xdotool key s
    for size in "1 1" "800 0" "4000 3000" "800 600"; do
        # shellcheck disable=SC2086
        xdotool windowsize "$wid" $size
        sleep 1
        kill -0 "$game_pid" 2>/dev/null || fail "the game died at size $size" || return
        echo "asked for ${size/ /x}, window is $(window_size)"
    done
    [ "$(window_size)" = "800x600" ] || fail "the window did not come back to 800x600"
    # Still drawing: the race or its end shows at the original size.
    reaches race 5 || reaches over 15 || fail "nothing drawn after resizing ($last)"
    quit_game "after resizing"
}

# Letter keys of the game and others, both cases, arrows, Shift, a function
# key; never Escape.
storm_keys=(a d w s j l i k A D W S r R m M x space Return Left Right Up Down F1 shift)

random_key_batch() {
    local batch=() i key
    for ((i = 0; i < 30; i++)); do
        key=${storm_keys[RANDOM % ${#storm_keys[@]}]}
        if ((RANDOM % 2)); then
            batch+=(keydown "$key")
        else
            batch+=(keyup "$key")
        fi
        batch+=(sleep "0.0$((RANDOM % 4))")
    done
    xdotool "${batch[@]}"
}

key_storm() {
    start_game "a minute of random keys" || return
    wait_phase menu 30 || return
    RANDOM=2718
    local end=$((SECONDS + 60)) batches=0
    while [ "$SECONDS" -lt "$end" ]; do
        random_key_batch
        batches=$((batches + 1))
        kill -0 "$game_pid" 2>/dev/null || fail "the game died in the key storm" || return
    done
    xdotool keyup "${storm_keys[@]}"
    echo "storm: $batches batches of 30 random key presses and releases"
    # Responsive: from any phase, M then S brings a race (M leaves a race
    # alone; S there only brakes).
    local tries racing=no
    for tries in 1 2 3; do
        xdotool key m
        sleep 0.3
        xdotool key s
        reaches race 15 && racing=yes && break
    done
    [ "$racing" = yes ] || fail "no race after M and S, three times (last seen: $seen)"
    quit_game "after the key storm"
}

# Ends a game left running by a failed check, so the next run starts alone.
stop_game() {
    if [ -n "$game_pid" ] && kill -0 "$game_pid" 2>/dev/null; then
        kill -9 "$game_pid"
        wait "$game_pid" 2>/dev/null
    fi
    game_pid=""
}
trap stop_game EXIT

case "$scenario" in
    phases)
        play_through_the_phases
        stop_game
        escape_in_menu
        stop_game
        escape_on_game_over
        stop_game
        survive_resizing
        ;;
    storm)
        key_storm
        ;;
    *)
        echo "usage: $0 KESTRUN PROBE phases|storm" >&2
        exit 2
        ;;
esac

if [ "$failures" -gt 0 ]; then
    echo "e2e $scenario: $failures check(s) failed; captures in $out" >&2
    exit 1
fi
echo "e2e $scenario: all checks passed"
