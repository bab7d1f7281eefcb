#!/bin/bash
# The installed game opens its window, draws in it, keeps running, and ends
# with exit status 0 when the player presses Escape. Run under an X server:
#   run-with-xvfb.sh escape_exits.sh STAGE_DIR PROBE
# Captures and the game's stderr are kept in ./escape-exits.
set -u
# shellcheck source=scripts/drive.sh
. "$(dirname "$0")/../../scripts/drive.sh"
drive_init "$PWD/escape-exits" "$2"
trap stop_game EXIT

check() {
    game_start "$1/usr/games/kestrun" || return
    poll 30 sky_drawn || fail "no frame drawn in the window" || return
    ! game_ended || fail "the game ended on its own" || return
    quit_game "in the installed game's menu"
}
check "$1"
drive_finish escape_exits
