#!/bin/sh
# The portable Linux game as players of other distributions meet it:
#   tests/portable/check.sh [TARBALL]
# The tarball (made by scripts/build-linux.sh when none is given) must hold a
# program that needs only libraries every desktop Linux has and no glibc
# symbol newer than 2.31. Then, in fresh minimal systems of Debian 11 and of
# Debian's current stable that hold only those libraries (no freeglut, GLU,
# font, font library or compiler), it is unpacked and played by the shell
# driver (tests/e2e/play.sh portable): the window, the menu's Chinese glyphs
# as the Debian build draws them, a race, Escape's exit status 0. Run it as
# root; captures are kept in build-linux/e2e-CODENAME.
set -eu
root=$(cd "$(dirname "$0")/../.." && pwd)

# What every desktop has: GL (libglvnd), X11 with xcb, Xi, Xrandr, Xxf86vm
# and Xext, libpng, zlib and the C library.
allowed="libGL.so.1 libGLX.so.0 libOpenGL.so.0 libX11.so.6 libX11-xcb.so.1 libxcb.so.1 libXi.so.6 \
    libXrandr.so.2 libXxf86vm.so.1 libXext.so.6 libpng16.so.16 libz.so.1 \
    libc.so.6 libm.so.6 libdl.so.2 libpthread.so.0 librt.so.1 ld-linux-x86-64.so.2"
newest_glibc=2.31
# Their packages, and Mesa's drivers; libpng's name changed in Debian 13.
runtime='libgl1,libgl1-mesa-dri,libx11-6,libx11-xcb1,libxcb1,libxi6,libxrandr2,libxxf86vm1,libxext6,zlib1g,?name(^libpng16-16)'

# Run again as the hook, outside the system, whose root is $1: the game is
# unpacked into it and started there, under an X server of this machine.
if [ "${MMDEBSTRAP_HOOK:-}" = customize ]; then
    release=$(sed -n 's/^PRETTY_NAME=//p' "$1/etc/os-release" | tr -d '"')
    # shellcheck disable=SC2016
    if chroot "$1" dpkg-query -W -f='${Package}\n' |
        grep -E '^(freeglut|libglut|libglu1|libfreetype|libfontconfig|fontconfig|fonts-|(gcc|g\+\+|cpp|clang)(-[0-9.]+)?$)'; then
        echo "portable: the $release system holds the packages above" >&2
        exit 1
    fi
    tar -C "$1/opt" -xzf "$KESTRUN_TARBALL"
    # The game as a player there starts it, with what the driver passes on.
    game="$1.kestrun"
    # shellcheck disable=SC2016
    printf '#!/bin/sh\nexec chroot %s /usr/bin/env -i HOME=/root DISPLAY="$DISPLAY" KESTRUN_GL_CHECK="$KESTRUN_GL_CHECK" /opt/%s/kestrun "$@"\n' \
        "$1" "$(tar -tzf "$KESTRUN_TARBALL" | head -1 | cut -d/ -f1)" >"$game"
    chmod +x "$game"
    echo "portable: playing in $release"
    mkdir -p "$root/build-linux/$KESTRUN_CODENAME"
    cd "$root/build-linux/$KESTRUN_CODENAME"
    exec "$root/scripts/run-with-xvfb.sh" bash "$root/tests/e2e/play.sh" "$game" \
        "$KESTRUN_DEBIAN_BUILD/scripts/e2e_probe" portable "$KESTRUN_DEBIAN_BUILD/kestrun"
fi

if [ "$(id -u)" -ne 0 ]; then
    echo "portable: run it as root (for mmdebstrap, mount and chroot)" >&2
    exit 1
fi
"$root/scripts/install-deps.sh" test
[ $# -ge 1 ] || { "$root/scripts/build-linux.sh" && set -- "$root"/build-linux/kestrun-*-linux-x86_64.tar.gz; }
KESTRUN_TARBALL=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
export KESTRUN_TARBALL
# The driver's probe, and the Debian build whose glyphs the game's must be:
# the test command's build, brought up to date, or else a Release build.
if [ -f "$root/build/CMakeCache.txt" ]; then
    KESTRUN_DEBIAN_BUILD="$root/build"
    cmake --build "$KESTRUN_DEBIAN_BUILD" --target kestrun e2e_probe >/dev/null
else
    KESTRUN_DEBIAN_BUILD="$root/build-release"
    "$root/scripts/build-release.sh" e2e_probe >/dev/null
fi
export KESTRUN_DEBIAN_BUILD

status=0
unpacked=$(mktemp -d)
tar -C "$unpacked" -xzf "$KESTRUN_TARBALL"
find "$unpacked" -type f -perm -u+x >"$unpacked.programs"
while read -r program; do
    for library in $(readelf -d "$program" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p'); do
        case " $allowed " in
            *" $library "*) ;;
            *) echo "portable: $program needs $library" >&2 && status=1 ;;
        esac
    done
    newest=$(objdump -T "$program" | grep -o 'GLIBC_[0-9.]*' | sed 's/GLIBC_//' | sort -uV | tail -1)
    echo "portable: $(basename "$program") needs $(readelf -d "$program" | grep -c NEEDED) libraries, glibc $newest"
    [ "$(printf '%s\n%s\n' "$newest" "$newest_glibc" | sort -V | tail -1)" = "$newest_glibc" ] ||
        { echo "portable: $program needs glibc $newest, newer than $newest_glibc" >&2 && status=1; }
done <"$unpacked.programs"
rm -rf "$unpacked" "$unpacked.programs"

# shellcheck source=scripts/debian-system.sh
. "$root/scripts/debian-system.sh"
for KESTRUN_CODENAME in bullseye stable; do
    export KESTRUN_CODENAME
    debian_system portable-run "$KESTRUN_CODENAME" "$runtime"
    debian_run "$root/tests/portable/check.sh" || status=1
done
exit "$status"
