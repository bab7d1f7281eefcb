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

# The game under test, as its command line names it.
kestrun=$1
scenario=$3
# shellcheck source=scripts/drive.sh
. "$(dirname "$0")/../../scripts/drive.sh"
drive_init "$PWD/e2e-$scenario" "$2"
export KESTRUN_GL_CHECK=1
# The window manager and the other window, if started.
trap 'stop_game; jobs -p | xargs -r kill 2>/dev/null' EXIT

start_game() {
    echo "-- game run: $1"
    game_start "$kestrun"
}

# The title and size, and what a desktop shell matches the window to its
# launcher by: the class (StartupWMClass in the desktop entry) and the icon.
check_window() {
    local props icons
    [ "$(xdotool getwindowname "$wid")" = "$title" ] || fail "window title is not $title"
    [ "$(window_size)" = "$window" ] || fail "window is $(window_size), not $window"
    props=$(xprop -id "$wid" WM_CLASS _NET_WM_ICON)
    grep -qx "WM_CLASS(STRING) = \"$window_instance\", \"$window_class\"" <<<"$props" ||
        fail "window class: $(grep WM_CLASS <<<"$props")"
    # The sides of the square icons, in the property's order.
    icons=$(grep -o 'Icon ([0-9]* x [0-9]*)' <<<"$props" | sed 's/Icon (\(.*\) x \1)/\1/' | xargs)
    echo "window icons: $icons"
    [ "$icons" = "$icon_sizes" ] || fail "the window's icons are $icons, not $icon_sizes"
    # xprop draws each icon in characters: blanks where it is transparent.
    grep -v 'Icon (' <<<"$props" | grep -q $'^\t.*[^[:space:]]' || fail "the window icons are blank"
}

# The glyph comparison itself, on the menu's capture MENU: a pixel's offset
# of a window frame passes, a mirrored or clearly shifted text does not.
check_glyph_comparison() {
    local variant judged=$drive_dir/variant.ppm
    { /usr/bin/convert "$1" -roll +1+1 "ppm:$judged" && glyphs_match "$judged" "$1"; } ||
        fail "the menu's glyphs a pixel off do not pass as its own"
    for variant in -flop "-roll +3+0"; do
        # shellcheck disable=SC2086
        { /usr/bin/convert "$1" $variant "ppm:$judged" && ! glyphs_match "$judged" "$1"; } ||
            fail "the menu's glyphs made $variant pass as its own"
    done
}

# The race in FILE differs from that in FIRST below the horizon.
scene_differs() {
    [ "$("$probe" differ "$1" "$2" scene)" -gt 0 ]
}

# The score moves on, and the race streams past.
check_race_runs() {
    capture race
    local first=$last
    race_frames 1 || fail "the race ended before its score changed ($first, $last)" || return
    race_frames 30 scene_differs "$first" || fail "the race does not stream past ($first, $last)"
}

# The car in FILE stands clearly right of x X: 20 pixels, five ticks' steering.
steered_right() {
    [ "$("$probe" car "$2")" -gt $(($1 + 20)) ]
}

# Holds Right for up to 16 new frames, time for the key to arrive under
# load. Status 0 once the car stands clearly right of where it was, 1 if it
# did not, 2 if no car was seen or the race ended first.
right_moves_car() {
    shows race || return 2
    local before status
    before=$("$probe" car "$last")
    [ "$before" -ge 0 ] || { echo "no car seen ($last)" && return 2; }
    xdotool keydown Right
    race_frames 16 steered_right "$before"
    status=$?
    # On to the road's edge, which every obstacle of the right lane reaches.
    [ "$status" -ne 0 ] || race_frames 30
    xdotool keyup Right
    echo "car centre before/after holding Right: $before -> $("$probe" car "$last")"
    return "$status"
}

play_through_the_phases() {
    start_game "menu, race, game over, restart, menu" || return
    check_window
    wait_phase menu 30 || return
    check_glyph_comparison "$last"
    # In the menu the world stands still.
    moment same || fail "the menu moved ($last)"
    start_race || return
    check_race_runs
    # No key held: the first race's obstacles are the same every run, and
    # one of them ends it.
    wait_phase over 120 || return
    xdotool key r
    wait_phase race 10 || return
    right_moves_car || fail "holding Right did not move the car right ($last)"
    wait_phase over 120 || return
    xdotool key m
    wait_phase menu 10 && start_race || return
    quit_game "in a race"
}

escape_in_menu() {
    start_game "Escape in the menu" && wait_phase menu 30 && quit_game "in the menu"
}

escape_on_game_over() {
    start_game "Escape on the game-over screen" && start_race && wait_phase over 120 &&
        quit_game "on the game-over screen"
}

sized() {
    [ "$(window_size)" = "$1" ]
}

# X has no zero-sized windows: asked for a height of 0, the window gets 1.
survive_resizing() {
    start_game "resizing during a race" && start_race || return
    local size want width=${window%x*} height=${window#*x}
    for size in "1 1" "$width 0" "4000 3000" "$width $height"; do
        want=${size/ /x}
        want=${want/x0/x1}
        # shellcheck disable=SC2086
        xdotool windowsize "$wid" $size
        poll 30 sized "$want" || fail "the window did not become $want" || return
        # Drawn at this size: the race streams, so a new frame changes the
        # picture. A window a pixel high may show nothing that moves.
        poll 5 moment differs
        ! game_ended || fail "the game died at size $size" || return
        echo "asked for $want, window is $(window_size)"
    done
    [ "$(window_size)" = "$window" ] || fail "the window did not come back to $window"
    # Still drawing: the race or its end shows at the original size.
    poll 5 shows race || poll 15 shows over || fail "nothing drawn after resizing ($last)"
    quit_game "after resizing"
}

# Batches of random presses and releases of the game's letter keys and
# others, both cases, arrows, Shift and a function key (never Escape), each
# followed by a look at the phase, until every key has gone down and up,
# every phase has been seen and 20 batches are done.
key_storm() {
    start_game "random keys in every phase" && wait_phase menu 30 || return
    local keys=(a d w s j l i k A D W S r R m M x space Return Left Right Up Down F1 shift)
    local moves=(keyup keydown) batch i key move phase=unknown batches=0 limit=$((SECONDS + 240))
    local -A made=() phases=()
    RANDOM=2718
    until [ "${#made[@]}" -eq $((2 * ${#keys[@]})) ] && [ "${#phases[@]}" -eq 3 ] &&
        [ "$batches" -ge 20 ]; do
        [ "$SECONDS" -lt "$limit" ] || fail "in 240 s the storm saw only: ${!phases[*]}" || return
        batch=()
        for ((i = 0; i < 30; i++)); do
            key=${keys[RANDOM % ${#keys[@]}]} move=${moves[RANDOM % 2]}
            batch+=("$move" "$key" sleep "0.0$((RANDOM % 4))")
            made[$move $key]=1
        done
        xdotool "${batch[@]}"
        batches=$((batches + 1))
        ! game_ended || fail "the game died in the key storm" || return
        capture storm && phase=$("$probe" phase "$last") && forget
        [ "$phase" = unknown ] || phases[$phase]=1
    done
    xdotool keyup "${keys[@]}"
    echo "storm: $batches batches of 30 random key presses and releases, $SECONDS s in"
    # Responsive: from any phase, M then S brings a race (M leaves a race
    # alone; S there only brakes).
    for i in 1 2 3 4; do
        [ "$i" -le 3 ] || fail "no race after M and S, three times ($last)" || return
        xdotool key m key s
        ! poll 15 shows race || break
    done
    quit_game "after the key storm"
}

# Openbox has taken over the screen and loaded its theme; status 2 if its
# process PID is gone. It claims the screen before it loads the theme's fonts,
# which can take long the first time on a new system (fontconfig caches a
# font folder): a window mapped meanwhile was seen never managed, nor shown.
wm_ready() {
    kill -0 "$1" 2>/dev/null || return 2
    window_manager && xprop -root _OB_THEME | grep -q '^_OB_THEME(UTF8_STRING) = '
}

# Started again if it gives up at once (it once failed to open a display here).
start_window_manager() {
    for _ in 1 2 3; do
        openbox --sm-disable >>"$drive_dir/openbox.log" 2>&1 &
        poll 60 wm_ready "$!" && return
    done
    fail "openbox did not start: $(tail -3 "$drive_dir/openbox.log")"
}

# One try at a key let go while the window OTHER has the focus: Left goes
# down in the game, the focus moves away, Left comes up there, the focus
# comes back. Left must no longer be held, and holding Right shows whether it
# is: Left wins when both are held, so with Left stuck the car stays put or
# goes left. Judged by frames drawn, not by time; status as right_moves_car's.
let_go_elsewhere() {
    xdotool keydown Left
    focus_on "$1" || return 2
    xdotool keyup Left
    # Some ticks with the focus away, for the game to see it go.
    race_frames 3 || return 2
    focus_on "$wid" || return 2
    right_moves_car
}

# Another client's window takes the focus, set apart from the game's, so
# captures of the game show only the game. A race can end by chance before
# the verdict: then R starts another, whose reset would hide a stuck key, so
# each try begins afresh.
focus_changes() {
    [ "$1" = without ] || start_window_manager || return
    xmessage -title kestrun-e2e-other -geometry +1100+700 "another window" \
        2>"$drive_dir/xmessage.stderr" &
    local other try verdict=2
    other=$(timeout 60 xdotool search --sync --onlyvisible --name '^kestrun-e2e-other$' | head -1)
    [ -n "$other" ] || fail "no other window appeared" || return
    start_game "a key let go in another window, $1 a window manager" && start_race || return
    for try in 1 2 3 4 5 6 7 8; do
        let_go_elsewhere "$other"
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
    start_race || return
    check_race_runs
    quit_game "in a race"
}

case "$scenario" in
    phases)
        for check in play_through_the_phases escape_in_menu escape_on_game_over survive_resizing; do
            "$check"
            stop_game
        done
        ;;
    storm) key_storm ;;
    focus) focus_changes without ;;
    focus_wm) focus_changes with ;;
    portable) play_portable "$4" ;;
    *)
        echo "usage: $0 KESTRUN PROBE phases|storm|focus|focus_wm|portable REFERENCE" >&2
        exit 2
        ;;
esac

drive_finish "e2e $scenario"
