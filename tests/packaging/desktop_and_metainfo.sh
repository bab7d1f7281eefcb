#!/bin/sh
# The installed desktop entry and AppStream metainfo validate, and what they
# point to (binary, icon, desktop id) is installed alongside them.
#   desktop_and_metainfo.sh STAGE_DIR
set -eu
stage=$1
desktop="$stage/usr/share/applications/org.kestrun.Kestrun.desktop"
metainfo="$stage/usr/share/metainfo/org.kestrun.Kestrun.metainfo.xml"

desktop-file-validate "$desktop"
appstreamcli validate --no-net "$metainfo"
# Checks the metainfo against the tree around it: the launchable desktop id.
appstreamcli validate-tree --no-net "$stage"

value() {
    sed -n "s/^$1=//p" "$desktop"
}
status=0
exec_name=$(value Exec)
if [ ! -x "$stage/usr/games/$exec_name" ]; then
    echo "Exec=$exec_name is not the installed game binary"
    status=1
fi
icon=$(value Icon)
for dir in 48x48 128x128 256x256; do
    if [ ! -f "$stage/usr/share/icons/hicolor/$dir/apps/$icon.png" ]; then
        echo "Icon=$icon has no $dir PNG"
        status=1
    fi
done
if [ ! -f "$stage/usr/share/icons/hicolor/scalable/apps/$icon.svg" ]; then
    echo "Icon=$icon has no scalable SVG"
    status=1
fi
if [ "$(value Name)" != "Kestrun" ] || [ "$(value Categories)" != "Game;ArcadeGame;" ]; then
    echo "Name or Categories of the desktop entry changed"
    status=1
fi
exit "$status"
