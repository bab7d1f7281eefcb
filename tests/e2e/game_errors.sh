#!/bin/sh
# The lines of a game's stderr that fail an end-to-end check: the game's own
# (they start with "kestrun:") and sanitizer reports. Anything else, such as a
# library's warning about its cache, is left alone.
#   game_errors.sh FILE    prints them; exit status 1 when there are any
! grep -E '^kestrun:|AddressSanitizer|LeakSanitizer|runtime error:' "$1"
