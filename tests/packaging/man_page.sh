#!/bin/sh
# The installed man page renders without a single warning, its NAME line is
# what whatis and apropos index, and it documents every key the game reads.
#   man_page.sh STAGE_DIR
set -eu
page="$1/usr/share/man/man6/kestrun.6.gz"

warnings=$(LC_ALL=C.UTF-8 MANROFFSEQ='' MANWIDTH=80 man --warnings -l "$page" 2>&1 >/dev/null)
if [ -n "$warnings" ]; then
    echo "man reported:"
    echo "$warnings"
    exit 1
fi

whatis=$(lexgrog "$page")
case "$whatis" in
    *'"kestrun - '*) ;;
    *)
        echo "lexgrog cannot parse the NAME section: $whatis"
        exit 1
        ;;
esac

text=$(LC_ALL=C.UTF-8 MANWIDTH=80 man -l "$page" 2>/dev/null)
status=0
for section in NAME SYNOPSIS DESCRIPTION KEYS "EXIT STATUS"; do
    if ! printf '%s\n' "$text" | grep -q "^$section\$"; then
        echo "section $section is missing"
        status=1
    fi
done
# The keys tagged in the KEYS section are exactly those the game reads.
keys=$(zcat "$page" | sed -n '/^\.SH KEYS/,/^\.SH [^K]/p' | grep -A1 '^\.TP' |
    sed -n 's/^\.BR* //p' | sed 's/"[^"]*"//g' | tr -s ' ' '\n' | LC_ALL=C sort -u | xargs)
expected="A D Down Escape I J K L Left M R Right S Up W"
if [ "$keys" != "$expected" ]; then
    echo "documented keys: $keys"
    echo "expected keys:   $expected"
    status=1
fi
exit "$status"
