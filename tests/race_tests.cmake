# The race: keyboard and phases, the simulation tick and the timer.
kestrun_core_test(keyboard_test keyboard_test.cpp)
kestrun_core_test(simulation_test simulation_test.cpp)
kestrun_core_test(random_play_test random_play_test.cpp)

# The timer runs under freeglut's event loop, which needs a window.
kestrun_display_test(timer_test timer_test.cpp)
target_link_libraries(timer_test PRIVATE kestrun_app)

# The real binary driven through the X server as a player drives it: the menu
# stands still, S starts a race that streams past, Escape exits with status 0.
# Every wait polls what the screen shows; only the game's own stderr lines
# and sanitizer reports count against it.
file(WRITE ${CMAKE_CURRENT_BINARY_DIR}/race_play.sh [=[
set -u
game=$1
probe=$2
errors=$3
dir=$(mktemp -d)
"$game" 2>"$dir/stderr" &
pid=$!
trap 'kill $pid 2>/dev/null; rm -rf "$dir"' EXIT
fail() { echo "race_play: $*" >&2; exit 1; }
wid=$(timeout 30 xdotool search --sync --onlyvisible --name '^Kestrun$' | head -1)
[ -n "$wid" ] || fail "no Kestrun window"
# Fully on the screen, so captures hold the whole 800x600 window.
xdotool windowmove --sync "$wid" 0 0 && xdotool windowfocus --sync "$wid" || fail "no focus"
n=0
shot() {  # the next capture, in $dir/$n.ppm
    n=$((n + 1))
    import -window "$wid" -depth 8 "ppm:$dir/$n.ppm" 2>/dev/null
}
phase() { "$probe" phase "$dir/$n.ppm"; }
# The scene below the horizon differs from the capture before.
moved() { [ "$("$probe" differ "$dir/$((n - 1)).ppm" "$dir/$n.ppm" 0 250 800 350)" -gt 0 ]; }
until shot && [ "$(phase)" = menu ]; do
    [ "$n" -lt 300 ] || fail "no menu seen"
done
for _ in 1 2 3 4 5; do
    shot && ! moved || fail "the menu moved"
done
xdotool key s
until shot && [ "$(phase)" = race ]; do
    [ "$n" -lt 300 ] || fail "S did not start a race"
done
until shot && moved; do
    [ "$n" -lt 600 ] || fail "the race does not stream past"
done
xdotool key Escape
for _ in $(seq 300); do
    if ! kill -0 $pid 2>/dev/null; then
        wait $pid || fail "Escape exit status $?"
        sh "$errors" "$dir/stderr" || fail "the game reported errors"
        exit 0
    fi
    sleep 0.1
done
fail "Escape did not end the game"
]=])
add_test(NAME race_play COMMAND ${KESTRUN_XVFB} sh ${CMAKE_CURRENT_BINARY_DIR}/race_play.sh
                                $<TARGET_FILE:kestrun> $<TARGET_FILE:e2e_probe>
                                ${CMAKE_CURRENT_SOURCE_DIR}/e2e/game_errors.sh)
set_tests_properties(race_play PROPERTIES LABELS display TIMEOUT 120)
