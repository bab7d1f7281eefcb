#!/bin/sh
# CPack builds the .deb: a game package whose dependencies come from the
# linked libraries and whose files are exactly those of the staged install.
#   deb_package.sh BUILD_DIR STAGE_DIR
set -eu
build=$1
stage=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

(cd "$work" && cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work" >cpack.log 2>&1) || {
    cat "$work/cpack.log"
    exit 1
}
deb=$(ls "$work"/kestrun_*.deb)
echo "== dpkg-deb --info $(basename "$deb")"
dpkg-deb --info "$deb"
echo "== dpkg-deb --contents $(basename "$deb")"
dpkg-deb --contents "$deb"

status=0
field() {
    dpkg-deb --field "$deb" "$1"
}
expect_field() {
    if [ "$(field "$1")" != "$2" ]; then
        echo "$1 is '$(field "$1")', expected '$2'"
        status=1
    fi
}
expect_field Package kestrun
expect_field Section games
expect_field Architecture "$(dpkg --print-architecture)"
expect_field Recommends fonts-wqy-microhei

# Computed by dpkg-shlibdeps, so each library the game links must be named.
depends=$(field Depends)
for library in libc6 libstdc++6 libglut3.12 libglu1-mesa libfreetype6 libfontconfig1; do
    case ", $depends," in
        *", $library "* | *", $library,"* | *"| $library "* | *"| $library,"*) ;;
        *)
            echo "Depends lacks $library: $depends"
            status=1
            ;;
    esac
done

packaged=$(dpkg-deb --contents "$deb" | awk '$1 !~ /^d/ { print $6 }' | LC_ALL=C sort)
staged=$(cd "$stage" && find . ! -type d | LC_ALL=C sort)
if [ "$packaged" != "$staged" ]; then
    echo "package files differ from the staged install:"
    printf '%s\n' "$staged" >"$work/staged"
    printf '%s\n' "$packaged" | diff -u "$work/staged" - || true
    status=1
fi
if dpkg-deb --contents "$deb" | awk '$2 != "root/root"' | grep -q .; then
    echo "files in the package are not owned by root"
    status=1
fi

# Debian ships stripped binaries: a debug build's symbols do not belong here.
dpkg-deb --extract "$deb" "$work/root"
if ! file "$work/root/usr/games/kestrun" | grep -q ', stripped'; then
    echo "the packaged binary is not stripped"
    status=1
fi
exit "$status"
