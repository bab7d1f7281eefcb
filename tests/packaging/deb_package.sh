#!/bin/sh
# CPack builds the .deb: a stripped game package whose dependencies come from
# the linked libraries and whose files are exactly those of the staged install.
#   deb_package.sh BUILD_DIR STAGE_DIR
set -eu
build=$1
stage=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

if ! (cd "$work" && cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work" >log 2>&1); then
    cat "$work/log"
    exit 1
fi
deb=$(ls "$work"/kestrun_*.deb)
echo "== dpkg-deb --info $(basename "$deb")"
dpkg-deb --info "$deb"
echo "== dpkg-deb --contents $(basename "$deb")"
dpkg-deb --contents "$deb"

status=0
fail() {
    echo "$@"
    status=1
}
[ "$(dpkg-deb --field "$deb" Package)" = kestrun ] || fail "wrong Package"
[ "$(dpkg-deb --field "$deb" Section)" = games ] || fail "Section is not games"
[ "$(dpkg-deb --field "$deb" Recommends)" = fonts-wqy-microhei ] || fail "wrong Recommends"
# Worked out by dpkg-shlibdeps, so every library the game links must be named.
depends=$(dpkg-deb --field "$deb" Depends | sed 's/ ([^)]*)//g; s/ *[,|] */\n/g')
for library in libc6 libstdc++6 libglut3.12 libglu1-mesa libfreetype6 libfontconfig1; do
    printf '%s\n' "$depends" | grep -qx "$library" || fail "Depends lacks $library"
done

packaged=$(dpkg-deb --contents "$deb" | awk '$1 !~ /^d/ { print $6 }' | LC_ALL=C sort)
staged=$(cd "$stage" && find . ! -type d | LC_ALL=C sort)
[ "$packaged" = "$staged" ] || fail "package files differ from the staged install"
dpkg-deb --extract "$deb" "$work/root"
file "$work/root/usr/games/kestrun" | grep -q ', stripped' || fail "the binary is not stripped"
exit "$status"
