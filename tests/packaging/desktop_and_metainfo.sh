#!/bin/sh
# The installed desktop entry and AppStream metainfo validate, and the binary,
# icons and desktop id they name are installed alongside them.
#   desktop_and_metainfo.sh STAGE_DIR
set -eu
stage=$1
share="$stage/usr/share"
desktop="$share/applications/org.kestrun.Kestrun.desktop"

desktop-file-validate "$desktop"
appstreamcli validate --no-net "$share/metainfo/org.kestrun.Kestrun.metainfo.xml"
# Also checks that the launchable desktop id is installed.
appstreamcli validate-tree --no-net "$stage"

exec_name=$(sed -n 's/^Exec=//p' "$desktop")
icon=$(sed -n 's/^Icon=//p' "$desktop")
for file in "$stage/usr/games/$exec_name" "$share/icons/hicolor/scalable/apps/$icon.svg" \
    "$share/icons/hicolor/48x48/apps/$icon.png" "$share/icons/hicolor/128x128/apps/$icon.png" \
    "$share/icons/hicolor/256x256/apps/$icon.png"; do
    if [ ! -f "$file" ]; then
        echo "the desktop entry names $file, which is not installed"
        exit 1
    fi
done
