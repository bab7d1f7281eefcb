#!/bin/sh
# The staged install holds exactly the game's files, with sane permissions.
#   installed_files.sh STAGE_DIR
set -eu
stage=$1
expected="./usr/games/kestrun
./usr/share/applications/org.kestrun.Kestrun.desktop
./usr/share/icons/hicolor/128x128/apps/kestrun.png
./usr/share/icons/hicolor/256x256/apps/kestrun.png
./usr/share/icons/hicolor/48x48/apps/kestrun.png
./usr/share/icons/hicolor/scalable/apps/kestrun.svg
./usr/share/man/man6/kestrun.6.gz
./usr/share/metainfo/org.kestrun.Kestrun.metainfo.xml"

actual=$(cd "$stage" && find . ! -type d | LC_ALL=C sort)
if [ "$actual" != "$expected" ]; then
    echo "installed files differ from the expected list:"
    printf '%s\n' "$expected" >"$stage.expected"
    printf '%s\n' "$actual" | diff -u "$stage.expected" - || true
    rm -f "$stage.expected"
    exit 1
fi

status=0
for file in $actual; do
    mode=$(stat -c %a "$stage/$file")
    case "$file" in
        ./usr/games/*) want=755 ;;
        *) want=644 ;;
    esac
    if [ "$mode" != "$want" ]; then
        echo "$file has mode $mode, expected $want"
        status=1
    fi
done
exit "$status"
