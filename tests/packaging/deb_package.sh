#!/bin/sh
# CPack builds the .deb: a stripped game package whose dependencies come from
# the linked libraries, with no font nor font library (the game carries its
# glyphs), whose files are exactly those of the staged install, and in which
# lintian finds no error.
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
# The homepage is the one the build was given, if any: none is invented.
homepage=$(sed -n 's/^KESTRUN_HOMEPAGE:STRING=//p' "$build/CMakeCache.txt")
[ "$(dpkg-deb --field "$deb" Homepage)" = "$homepage" ] ||
    fail "Homepage is not the KESTRUN_HOMEPAGE of the build ('$homepage')"
# The libraries come from dpkg-shlibdeps, so every library the game links must
# be named.
depends=$(dpkg-deb --field "$deb" Depends)
libraries=$(printf '%s\n' "$depends" | sed 's/ ([^)]*)//g; s/ *[,|] */\n/g')
for library in libc6 libstdc++6 libglut3.12 libglu1-mesa; do
    printf '%s\n' "$libraries" | grep -qx "$library" || fail "Depends lacks $library"
done
! printf '%s\n' "$libraries" | grep -E '^(fonts-|libfreetype|libfontconfig)' ||
    fail "Depends names a font or a font library"

packaged=$(dpkg-deb --contents "$deb" | awk '$1 !~ /^d/ { print $6 }' | LC_ALL=C sort)
staged=$(cd "$stage" && find . ! -type d | LC_ALL=C sort)
[ "$packaged" = "$staged" ] || fail "package files differ from the staged install"
dpkg-deb --extract "$deb" "$work/root"
file "$work/root/usr/games/kestrun" | grep -q ', stripped' || fail "the binary is not stripped"
doc="$work/root/usr/share/doc/kestrun"
grep -qx 'License: Expat' "$doc/copyright" || fail "the copyright file names no Expat licence"
grep -qx 'License: Apache-2.0' "$doc/copyright" || fail "the copyright file lacks the glyphs' font licence"
zcat "$doc/changelog.gz" | head -1 | grep -q "^kestrun ($(dpkg-deb --field "$deb" Version))" ||
    fail "the changelog's first entry is not this version"

# Debian's own checker: errors fail, and everything it says is shown. So
# does a metainfo its AppStream fails, unless the package says why (the
# override of a missing homepage), and an override this lintian cannot use.
echo "== lintian"
lintian_status=0
lintian --display-info "$deb" >"$work/lintian" 2>&1 || lintian_status=$?
cat "$work/lintian"
if [ "$lintian_status" -ne 0 ] || grep -q '^E: ' "$work/lintian"; then
    fail "lintian reports errors (exit status $lintian_status)"
fi
if grep -E -q '^[EWI]: .* (appstream-metadata-validation-failed|unused-override|mismatched-override)' \
    "$work/lintian"; then
    fail "lintian finds the metainfo invalid or an override unused"
fi
exit "$status"
