#!/bin/sh
# Every shell script of the project passes shellcheck: the .sh files and any
# other file that starts with a sh or bash line.
#   lint_scripts.sh SOURCE_DIR
set -eu
cd "$1"
files=$(git ls-files --cached --others --exclude-standard 2>/dev/null || find . -path './build*' -prune -o -type f -print)
scripts=""
for file in $files; do
    [ -f "$file" ] || continue  # deleted, not yet committed
    case "$file" in
        *.sh) scripts="$scripts $file" ;;
        *)
            if head -n 1 "$file" 2>/dev/null | grep -q -E '^#!(/usr)?/bin/(env )?(ba)?sh'; then
                scripts="$scripts $file"
            fi
            ;;
    esac
done
echo "shellcheck on:$scripts"
# shellcheck disable=SC2086
exec shellcheck -x $scripts
