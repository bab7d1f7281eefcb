#!/bin/sh
# The staged install holds exactly the game's files: the binary executable,
# everything else plain readable data.
#   installed_files.sh STAGE_DIR
set -eu
cd "$1"
expected="755 ./usr/games/kestrun
644 ./usr/share/applications/org.kestrun.Kestrun.desktop
644 ./usr/share/doc/kestrun/changelog.gz
644 ./usr/share/doc/kestrun/copyright
644 ./usr/share/icons/hicolor/128x128/apps/kestrun.png
644 ./usr/share/icons/hicolor/16x16/apps/kestrun.png
644 ./usr/share/icons/hicolor/256x256/apps/kestrun.png
644 ./usr/share/icons/hicolor/32x32/apps/kestrun.png
644 ./usr/share/icons/hicolor/48x48/apps/kestrun.png
644 ./usr/share/icons/hicolor/scalable/apps/kestrun.svg
644 ./usr/share/man/man6/kestrun.6.gz
644 ./usr/share/metainfo/org.kestrun.Kestrun.metainfo.xml"

# Packages for releases after Debian 12 also carry a lintian override, which
# the .deb's own check judges by that release's lintian.
actual=$(find . ! -type d ! -path ./usr/share/lintian/overrides/kestrun -printf '%m %p\n' |
    LC_ALL=C sort -k 2)
if [ "$actual" != "$expected" ]; then
    echo "installed files (mode, path) differ from the expected list:"
    printf '%s\n' "$expected" >"${TMPDIR:-/tmp}/kestrun-installed-files.$$"
    printf '%s\n' "$actual" | diff -u "${TMPDIR:-/tmp}/kestrun-installed-files.$$" - || true
    rm -f "${TMPDIR:-/tmp}/kestrun-installed-files.$$"
    exit 1
fi
