#!/bin/sh
# The portable Linux game as players of other distributions meet it, and on
# ARM the Debian package too:   check.sh [--arch amd64|arm64] [TARBALL [DEB]]
# The tarball (made by scripts/build-linux.sh when none is given) must hold a
# program that needs only libraries every desktop Linux has, no glibc symbol
# newer than 2.31 and, on ARM, load segments 64 KiB apart. Then, in fresh
# minimal systems of Debian 11 and of Debian's current stable that hold only
# those libraries (no freeglut, GLU, font, font library or compiler), it is
# unpacked and played by the shell driver (tests/e2e/play.sh portable): the
# window, the menu's Chinese glyphs as the Debian build draws them, a race,
# Escape's exit status 0. For arm64 the .deb (made by packaging/build-deb.sh
# when none is given) must pass lintian with no error or warning, install
# with apt-get, its Depends from the mirror, into a fresh minimal Debian 12
# system, and play there the same way. The arm64 systems run under qemu-user.
# Run it as root; captures are kept in build-linux/CODENAME-ARCH.
set -eu
root=$(cd "$(dirname "$0")/../.." && pwd)

# What every desktop has: GL (libglvnd), X11 with xcb, Xi, Xrandr, Xxf86vm
# and Xext, libpng, zlib and the C library.
allowed="libGL.so.1 libGLX.so.0 libOpenGL.so.0 libX11.so.6 libX11-xcb.so.1 libxcb.so.1 libXi.so.6 \
    libXrandr.so.2 libXxf86vm.so.1 libXext.so.6 libpng16.so.16 libz.so.1 \
    libc.so.6 libm.so.6 libdl.so.2 libpthread.so.0 librt.so.1 ld-linux-x86-64.so.2 ld-linux-aarch64.so.1"
newest_glibc=2.31
# Their packages, and Mesa's drivers; libpng's name changed in Debian 13.
runtime='libgl1,libgl1-mesa-dri,libx11-6,libx11-xcb1,libxcb1,libxi6,libxrandr2,libxxf86vm1,libxext6,zlib1g,?name(^libpng16-16)'

# The hook, outside the system, whose root is $1: the game is installed or
# unpacked into it and started there, under an X server of this machine.
# shellcheck disable=SC2317,SC2329 # debian_run runs it
play_in_system() {
    release="$(sed -n 's/^PRETTY_NAME=//p' "$1/etc/os-release" | tr -d '"') $(chroot "$1" dpkg --print-architecture)"
    case "$KESTRUN_PACKAGE" in
        *.deb)
            cp "$KESTRUN_PACKAGE" "$1/tmp/"
            chroot "$1" env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin DEBIAN_FRONTEND=noninteractive sh -c \
                "apt-get update -qq && apt-get install -y -qq ./tmp/$(basename "$KESTRUN_PACKAGE") >/dev/null"
            program=/usr/games/kestrun
            ;;
        *)
            # shellcheck disable=SC2016
            if chroot "$1" dpkg-query -W -f='${Package}\n' |
                grep -E '^(freeglut|libglut|libglu1|libfreetype|libfontconfig|fontconfig|fonts-|(gcc|g\+\+|cpp|clang)(-[0-9.]+)?$)'; then
                echo "portable: the $release system holds the packages above" >&2
                exit 1
            fi
            tar -C "$1/opt" -xzf "$KESTRUN_PACKAGE"
            program=/opt/$(tar -tzf "$KESTRUN_PACKAGE" | head -1 | cut -d/ -f1)/kestrun
            ;;
    esac
    # The game as a player there starts it, with what the driver passes on.
    game="$1.kestrun"
    # shellcheck disable=SC2016
    printf '#!/bin/sh\nexec chroot %s /usr/bin/env -i HOME=/root DISPLAY="$DISPLAY" KESTRUN_GL_CHECK="$KESTRUN_GL_CHECK" %s "$@"\n' \
        "$1" "$program" >"$game"
    chmod +x "$game"
    echo "portable: playing $(basename "$KESTRUN_PACKAGE") in $release"
    mkdir -p "$root/build-linux/$KESTRUN_CODENAME-$KESTRUN_ARCH"
    cd "$root/build-linux/$KESTRUN_CODENAME-$KESTRUN_ARCH"
    exec "$root/scripts/run-with-xvfb.sh" bash "$root/tests/e2e/play.sh" "$game" \
        "$KESTRUN_DEBIAN_BUILD/scripts/e2e_probe" portable "$KESTRUN_DEBIAN_BUILD/kestrun"
}
# shellcheck source=scripts/debian-system.sh
. "$root/scripts/debian-system.sh"

if [ "$(id -u)" -ne 0 ]; then
    echo "portable: run it as root (for mmdebstrap, mount and chroot)" >&2
    exit 1
fi
arch=$(dpkg --print-architecture)
if [ "${1:-}" = --arch ]; then
    case "${2:-}" in
        amd64 | arm64) arch=$2 && shift 2 ;;
        *) echo "portable: --arch takes amd64 or arm64" >&2 && exit 2 ;;
    esac
fi
# ARM kernels have pages of 4, 16 or 64 KiB.
alignment=4096
[ "$arch" != arm64 ] || alignment=65536
"$root/scripts/install-deps.sh" test
"$root/scripts/install-deps.sh" chroot
debian_architecture "$arch"
# What is not given is built; for arm64 the package and the tarball at once,
# as their systems run under emulation, a core each.
if [ "$arch" != amd64 ] && [ $# -lt 2 ]; then
    "$root/packaging/build-deb.sh" --arch "$arch" >/dev/null &
    building=$!
fi
[ $# -ge 1 ] || "$root/scripts/build-linux.sh" --arch "$arch"
[ -z "${building:-}" ] || wait "$building" || { echo "portable: the $arch package was not built" >&2 && exit 1; }
[ $# -ge 1 ] || set -- "$root"/build-linux/kestrun-*-linux-"$(debian_machine "$arch")".tar.gz
[ -z "${building:-}" ] || set -- "$1" "$root"/build-deb/kestrun_*_"$arch".deb
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
tar -C "$unpacked" -xzf "$1"
find "$unpacked" -type f -perm -u+x >"$unpacked.programs"
while read -r program; do
    for library in $(readelf -d "$program" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p'); do
        case " $allowed " in
            *" $library "*) ;;
            *) echo "portable: $program needs $library" >&2 && status=1 ;;
        esac
    done
    newest=$(readelf -W --dyn-syms "$program" | grep -o '@GLIBC_[0-9.]*' | sed 's/@GLIBC_//' | sort -uV | tail -1)
    aligned=$(readelf -W -l "$program" | awk '$1 == "LOAD" { print $NF }' | xargs printf '%d\n' | sort -n | head -1)
    echo "portable: $(basename "$program") needs $(readelf -d "$program" | grep -c NEEDED) libraries, glibc $newest;" \
        "its load segments are aligned to $aligned bytes"
    [ "$(printf '%s\n%s\n' "$newest" "$newest_glibc" | sort -V | tail -1)" = "$newest_glibc" ] ||
        { echo "portable: $program needs glibc $newest, newer than $newest_glibc" >&2 && status=1; }
    [ "$aligned" -ge "$alignment" ] ||
        { echo "portable: $program has load segments aligned to $aligned bytes, not $alignment" >&2 && status=1; }
done <"$unpacked.programs"
rm -rf "$unpacked" "$unpacked.programs"

if [ $# -ge 2 ]; then
    echo "portable: lintian on $(basename "$2")"
    lintian --fail-on error,warning "$2" || status=1
fi

# Each package where players meet it: the tarball in the oldest and newest
# releases, with only a desktop's libraries; the .deb in the release it is
# built on, its Depends from the mirror.
KESTRUN_ARCH=$arch
export KESTRUN_ARCH KESTRUN_CODENAME KESTRUN_PACKAGE
for KESTRUN_CODENAME in bullseye stable ${2:+bookworm}; do
    if [ "$KESTRUN_CODENAME" = bookworm ]; then
        KESTRUN_PACKAGE=$(realpath "$2")
        debian_system package-run "$KESTRUN_CODENAME" apt
    else
        KESTRUN_PACKAGE=$(realpath "$1")
        debian_system portable-run "$KESTRUN_CODENAME" "$runtime"
    fi
    debian_run play_in_system || status=1
done
exit "$status"
