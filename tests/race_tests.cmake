# The race: keyboard and phases, the simulation tick and the timer.
kestrun_core_test(keyboard_test keyboard_test.cpp)
kestrun_core_test(random_play_test random_play_test.cpp)

# The tick's tests share a binary with the timer's, which needs a window.
kestrun_display_test(simulation_test simulation_test.cpp)
target_link_libraries(simulation_test PRIVATE kestrun_app)

# The real binary driven through the X server as a player drives it: the menu
# stands still, S starts a race that streams past, Escape exits with status 0.
file(WRITE ${CMAKE_CURRENT_BINARY_DIR}/race_play.sh [=[
set -u
"$1" &
pid=$!
dir=$(mktemp -d)
trap 'kill $pid 2>/dev/null; rm -rf "$dir"' EXIT
fail() { echo "race_play: $*" >&2; exit 1; }
wid=$(timeout 30 xdotool search --sync --onlyvisible --name '^Kestrun$' | head -1)
[ -n "$wid" ] && xdotool windowfocus --sync "$wid" || fail "no Kestrun window"
moving() {  # two captures 0.4 s apart differ
    import -window "$wid" "$dir/a.png" && sleep 0.4 && import -window "$wid" "$dir/b.png"
    [ "$(compare -metric AE "$dir/a.png" "$dir/b.png" null: 2>&1)" != 0 ]
}
sleep 1
moving && fail "the menu moved"
xdotool key s && sleep 0.3
moving || fail "S did not start a streaming race"
xdotool key Escape
for _ in $(seq 100); do
    kill -0 $pid 2>/dev/null || { wait $pid && exit 0; fail "Escape exit status $?"; }
    sleep 0.1
done
fail "Escape did not end the game"
]=])
add_test(NAME race_play COMMAND ${KESTRUN_XVFB} sh ${CMAKE_CURRENT_BINARY_DIR}/race_play.sh
                                $<TARGET_FILE:kestrun>)
set_tests_properties(race_play PROPERTIES LABELS display TIMEOUT 120)
