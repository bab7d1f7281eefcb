#!/bin/bash
# Plays the real game the way a player would, in the X server named by
# DISPLAY (scripts/run-with-xvfb.sh starts a private one): keys through xdotool,
# eyes through X captures of the window read by e2e_probe (scripts/drive.sh).
#
#   play.sh KESTRUN PROBE phases    menu (standing still), race, game over,
#                                   restart, menu, Escape in each phase,
#                                   resizing, the window's class and icon
#   play.sh KESTRUN PROBE storm     random keys in every phase, then still
#                                   playable
#   play.sh KESTRUN PROBE focus     a key let go while another window has the
#                                   focus does not stay held
#   play.sh KESTRUN PROBE focus_wm  the same under a window manager (openbox)
#   play.sh KESTRUN PROBE portable REFERENCE
#                                   the window, the menu's Chinese glyphs the
#                                   same as the game REFERENCE draws, a race,
#                                   Escape
#
# Every run of the game has KESTRUN_GL_CHECK=1, so any GL error reaches its
# stderr and fails the check. Captures and the game's stderr are kept in
# ./e2e-SCENARIO for inspection.
set -u

kestrun=$1
scenario=$3
# shellcheck source=scripts/drive.sh
. "$(dirname "$0")/../../scripts/drive.sh"
drive_init "$PWD/e2e-$scenario" "$2"

wm_pid=""

export KESTRUN_GL_CHECK=1
start_game() {
    echo "-- game run $((run + 1)): $1"
    game_start "$kestrun"
}

# Below the horizon, where the road, the car and the obstacles are.
scene_changed() {
    [ "$("$probe" differ "$1" "$2" scene)" -gt 0 ]
}

wait_phase() {
    poll "$2" shows "$1" || fail "no $1 screen within $2 s (last seen: ${seen:-nothing}, $last)"
}

# The title and size, and what a desktop shell matches the window to its
# launcher by: the class (StartupWMClass in the desktop entry) and the icon.
check_window() {
    local name size props icons
    name=$(xdotool getwindowname "$wid")
    size=$(window_size)
    [ "$name" = "$title" ] || fail "window title is '$name'"
    [ "$size" = "$window" ] || fail "window is $size, not $window"
    props=$(xprop -id "$wid" WM_CLASS _NET_WM_ICON)
    grep -qx "WM_CLASS(STRING) = \"kestrun\", \"$title\"" <<<"$props" ||
        fail "window class: $(grep WM_CLASS <<<"$props")"
    icons=$(grep -o 'Icon ([0-9]* x [0-9]*)' <<<"$props" | tr '\n' ' ')
    echo "window icons: $icons"
    for size in 16 32 48; do
        grep -q "Icon ($size x $size)" <<<"$icons" || fail "no ${size}x$size window icon"
    done
    # xprop draws each icon in characters: blanks where it is transparent.
    grep -v 'Icon (' <<<"$props" | grep -q $'^\t.*[^[:space:]]' || fail "the window icons are blank"
}

# In a race it streams past.
check_race_streams() {
    capture race
    local first=$last
    streamed() { capture race && scene_changed "$first" "$last"; }
    poll 30 streamed || fail "the race does not stream past ($first, $last)"
}

# The HUD shows, and the score moves on.
check_score_runs() {
    capture score
    local first=$last
    frames_pass 1 || fail "the race ended before its score changed ($first, $last)"
}

# Holding Right must move the car's pixels to the right.
check_steering() {
    capture car-before
    local before after=-1
    before=$("$probe" car "$last")
    [ "$before" -ge 0 ] || fail "no car seen ($last)" || return
    moved_right() {
        capture car-after
        after=$("$probe" car "$last")
        [ "$after" -gt $((before + 20)) ] && return
        forget "$last"
        return 1
    }
    xdotool keydown Right
    poll 30 moved_right
    xdotool keyup Right
    echo "car centre before/after holding Right: $before -> $after"
    [ "$after" -gt $((before + 20)) ] ||
        fail "holding Right did not move the car right ($before -> $after)"
}

play_through_the_phases() {
    start_game "menu, race, game over, restart, menu" || return
    check_window
    wait_phase menu 30 || return
    # In the menu the world stands still.
    still || fail "the menu moved ($last)"
    xdotool key s
    wait_phase race 10 || return
    check_race_streams
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
    local size want
    sized() { [ "$(window_size)" = "$1" ]; }
    local width=${window%x*} height=${window#*x}
    for size in "1 1" "$width 0" "4000 3000" "$width $height"; do
        want=${size/ /x}
        want=${want/x0/x1}
        # shellcheck disable=SC2086
        xdotool windowsize "$wid" $size
        poll 30 sized "$want" || fail "the window did not become $want" || return
        # Drawn at this size: the race streams, so a new frame changes the
        # picture. A window a pixel high may show nothing that moves.
        poll 5 moving
        ! game_ended || fail "the game died at size $size" || return
        echo "asked for $want, window is $(window_size)"
    done
    [ "$(window_size)" = "$window" ] || fail "the window did not come back to $window"
    # Still drawing: the race or its end shows at the original size.
    poll 5 shows race || poll 15 shows over || fail "nothing drawn after resizing ($last)"
    quit_game "after resizing"
}

# Letter keys of the game and others, both cases, arrows, Shift, a function
# key; never Escape.
storm_keys=(a d w s j l i k A D W S r R m M x space Return Left Right Up Down F1 shift)

# The keys the storm has pressed and released so far.
declare -A pressed=() released=()

random_key_batch() {
    local batch=() i key
    for ((i = 0; i < 30; i++)); do
        key=${storm_keys[RANDOM % ${#storm_keys[@]}]}
        if ((RANDOM % 2)); then
            batch+=(keydown "$key")
            pressed[$key]=1
        else
            batch+=(keyup "$key")
            released[$key]=1
        fi
        batch+=(sleep "0.0$((RANDOM % 4))")
    done
    xdotool "${batch[@]}"
}

# One batch of the storm, then a look at the phase it left the game in.
# True once every key has gone down and up, every phase has been seen and at
# least 20 batches are done; status 2 if the game died.
declare -A phases=()
batches=0
storm_batch() {
    random_key_batch
    batches=$((batches + 1))
    ! game_ended || return 2
    capture storm
    local phase
    phase=$("$probe" phase "$last")
    forget "$last"
    [ "$phase" = unknown ] || phases[$phase]=1
    [ "${#pressed[@]}" -eq "${#storm_keys[@]}" ] && [ "${#released[@]}" -eq "${#storm_keys[@]}" ] &&
        [ "${#phases[@]}" -eq 3 ] && [ "$batches" -ge 20 ]
}

# Random batches until the storm has covered every key and every phase.
key_storm() {
    start_game "random keys in every phase" || return
    wait_phase menu 30 || return
    RANDOM=2718
    batches=0
    phases=()
    pressed=()
    released=()
    local status=0
    poll 240 storm_batch || status=$?
    case "$status" in
        1) fail "in 240 s the storm saw only these phases: ${!phases[*]}" || return ;;
        2) fail "the game died in the key storm" || return ;;
    esac
    xdotool keyup "${storm_keys[@]}"
    echo "storm: $batches batches of 30 random key presses and releases, $SECONDS s in"
    # Responsive: from any phase, M then S brings a race (M leaves a race
    # alone; S there only brakes).
    local racing=no
    for _ in 1 2 3; do
        xdotool key m key s
        poll 15 shows race && racing=yes && break
    done
    [ "$racing" = yes ] || fail "no race after M and S, three times (last seen: $seen)"
    quit_game "after the key storm"
}

# Another client's window, to take the keyboard focus from the game. Set
# apart from the game's, so captures of the game show only the game.
other_window() {
    xmessage -title kestrun-e2e-other -geometry +1100+700 "another window" \
        2>"$drive_dir/xmessage.stderr" &
    other=$(timeout 60 xdotool search --sync --onlyvisible --name '^kestrun-e2e-other$' | head -1)
    [ -n "$other" ] || fail "no other window appeared"
}

# The window manager has taken over the screen and loaded its theme; status
# 2 if it gave up. Openbox claims the screen before it loads the theme's
# fonts, which can take long the first time on a new system (fontconfig
# caches a font folder): a window mapped meanwhile was seen never to be
# managed, nor shown.
wm_ready() {
    kill -0 "$wm_pid" 2>/dev/null || return 2
    local props
    props=$(xprop -root _NET_SUPPORTING_WM_CHECK _OB_THEME)
    grep -q 'window id' <<<"$props" && grep -q '^_OB_THEME(UTF8_STRING) = ' <<<"$props"
}

# Openbox, for the same checks under a window manager; started again if it
# gives up at once (it once failed to open a display here under load).
start_window_manager() {
    for _ in 1 2 3; do
        openbox --sm-disable >>"$drive_dir/openbox.log" 2>&1 &
        wm_pid=$!
        if poll 60 wm_ready; then
            DRIVE_WM=1
            return 0
        fi
    done
    fail "openbox did not start: $(tail -3 "$drive_dir/openbox.log")"
}

# With Right held: true once the car stands right of where it was; status
# 2, no use waiting, after 8 new frames in which it did not (verdict 1) or
# once the race is over (verdict 2).
moved_right_since() {
    capture focus-right
    [ "$("$probe" phase "$last")" = race ] || return 2
    now=$("$probe" car "$last")
    if [ "$now" -ge $((before + 15)) ]; then
        verdict=0
        return 0
    fi
    if hud_changed "$previous" "$last"; then
        frames=$((frames + 1))
        previous=$last
    fi
    [ "$frames" -lt 8 ] || { verdict=1 && return 2; }
    return 1
}

# One try at a key let go while another window has the focus: Left goes
# down in the game, the focus moves away, Left comes up there, the focus
# comes back. Left must no longer be held, and holding Right shows whether
# it is: Left wins when both are held, so with Left stuck the car stays put
# or goes left. Judged by frames drawn, not by time. Returns 0 when Right
# moved the car right, 1 when the race went on for 8 frames with Right held
# and the car did not, 2 when the race ended before either.
let_go_elsewhere() {
    xdotool keydown Left
    focus_on "$other" || return 2
    xdotool keyup Left
    # Some ticks with the focus away, for the game to see it go.
    frames_pass 3 || return 2
    focus_on "$wid" || return 2
    shows race || return 2
    local before now=-1 previous=$last frames=0 verdict=2
    before=$("$probe" car "$last")
    [ "$before" -ge 0 ] || return 2
    xdotool keydown Right
    poll 30 moved_right_since
    xdotool keyup Right
    echo "car centre before/after holding Right: $before -> $now (frames: $frames)"
    return $verdict
}

# A race can end by chance before the verdict: then R starts another, whose
# reset would hide a stuck key, so each try begins afresh.
focus_changes() {
    [ "$1" = without ] || start_window_manager || return
    other_window || return
    start_game "a key let go in another window, $1 a window manager" || return
    wait_phase menu 30 || return
    xdotool key s
    wait_phase race 10 || return
    local try verdict=2
    for try in 1 2 3 4 5 6 7 8; do
        let_go_elsewhere
        verdict=$?
        [ "$verdict" -eq 2 ] || break
        echo "try $try: the race ended before a verdict; racing again"
        xdotool key r
        wait_phase race 10 || return
    done
    case "$verdict" in
        0) echo "Left let go in another window is no longer held" ;;
        1) fail "Left let go in another window stayed held: Right could not move the car ($last)" ;;
        *) fail "no verdict in $try races" ;;
    esac
    quit_game "after the focus changes"
}

# The portable game, as a player of another distribution starts it.
play_portable() {
    same_glyphs "$1" "$kestrun"
    start_game "window, race, Escape" || return
    check_window
    wait_phase menu 30 || return
    xdotool key s
    wait_phase race 10 || return
    check_race_streams
    check_score_runs
    quit_game "in a race"
}

stop_all() {
    stop_game
    [ -z "$wm_pid" ] || kill "$wm_pid" 2>/dev/null
    # xmessage, if one was started.
    jobs -p | xargs -r kill 2>/dev/null
}
trap stop_all EXIT

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
    focus)
        focus_changes without
        ;;
    focus_wm)
        focus_changes with
        ;;
    portable)
        play_portable "$4"
        ;;
    *)
        echo "usage: $0 KESTRUN PROBE phases|storm|focus|focus_wm|portable REFERENCE" >&2
        exit 2
        ;;
esac

drive_finish "e2e $scenario"
