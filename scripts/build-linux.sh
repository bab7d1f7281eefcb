#!/bin/sh
# Builds the portable Linux game, one download for every desktop Linux with
# glibc 2.31 or newer, into build-linux/kestrun-VERSION-linux-MACHINE.tar.gz
# (x86_64 or aarch64): the folder kestrun-VERSION/ with the program, a README
# for its players and the licences.   build-linux.sh [--arch amd64|arm64]
# It builds in a cached minimal Debian 11 system of that architecture
# (scripts/debian-system.sh; arm64's runs under qemu-user), with freeglut,
# GLU and GCC's runtimes linked in, so that the game needs only what every
# desktop has: libGL, the X11 libraries, libpng, zlib and the C library of
# 2020. One commit gives the same tarball byte for byte wherever and whenever
# it is built, its files dated by the commit. Run it as root.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)

# The base: its C library is the oldest the game runs with. When it leaves
# the mirrors, a newer release's name goes here.
base=bullseye
packages=g++,make,cmake,pkg-config,groff-base,freeglut3-dev,libglu1-mesa-dev,libgl-dev,libx11-dev,libx11-xcb-dev,libxi-dev,libxrandr-dev,libxxf86vm-dev,libpng-dev

# In the base system: the Release build, staged under the folder's name, and
# the tarball, its entries sorted, owned by root and dated by the commit.
if [ "${1:-}" = --inside ]; then
    build="$root/build-linux"
    cmake -S "$root" -B "$build/build" -DCMAKE_BUILD_TYPE=Release -DKESTRUN_PORTABLE=ON \
        -DKESTRUN_BUILD_TESTS=OFF -DKESTRUN_WERROR=ON >/dev/null
    cmake --build "$build/build" -j "$(nproc)" --target kestrun kestrun-portable-readme
    version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/build/CMakeCache.txt")
    folder="kestrun-$version"
    rm -rf "$build/stage"
    cmake --install "$build/build" --prefix "$build/stage/$folder" --strip >/dev/null
    tar -C "$build/stage" --sort=name --mtime="@$SOURCE_DATE_EPOCH" --owner=0 --group=0 \
        --numeric-owner --format=gnu -cf - "$folder" | gzip -9 -n >"$build/$folder-linux-$(uname -m).tar.gz"
    exit
fi

# The hook, outside the base system, whose root is $1: a copy of the
# checkout goes in, is built there, and the tarball comes out.
# shellcheck disable=SC2317,SC2329 # debian_run runs it
build_in_system() {
    debian_copy_checkout "$root" "$1/root/kestrun"
    chroot "$1" env -i HOME=/root PATH=/usr/sbin:/usr/bin:/sbin:/bin LANG=C.UTF-8 \
        SOURCE_DATE_EPOCH="$SOURCE_DATE_EPOCH" /bin/sh /root/kestrun/scripts/build-linux.sh --inside
    mkdir -p "$root/build-linux"
    cp "$1"/root/kestrun/build-linux/kestrun-*-linux-*.tar.gz "$root/build-linux/"
}
# shellcheck source=scripts/debian-system.sh
. "$root/scripts/debian-system.sh"

arch=$(dpkg --print-architecture)
case "$*" in
    "") ;;
    "--arch amd64" | "--arch arm64") arch=$2 ;;
    --arch*) echo "build-linux: --arch takes amd64 or arm64" >&2 && exit 2 ;;
    *) echo "usage: $0 [--arch amd64|arm64]" >&2 && exit 2 ;;
esac

[ "$(id -u)" -eq 0 ] ||
    { echo "build-linux: run it as root (for mmdebstrap, mount and chroot)" >&2 && exit 1; }
"$root/scripts/install-deps.sh" chroot
SOURCE_DATE_EPOCH=$("$root/scripts/source-date-epoch.sh")
export SOURCE_DATE_EPOCH
debian_architecture "$arch"
debian_system portable-build "$base" "$packages" || {
    echo "build-linux: no $base system could be made from this system's mirrors. If $base has left them," \
        "set base in scripts/build-linux.sh to a newer Debian release, whose C library the game then needs." >&2
    exit 1
}
machine=$(debian_machine "$arch")
rm -f "$root"/build-linux/kestrun-*-linux-"$machine".tar.gz
debian_run build_in_system
ls -l "$root"/build-linux/kestrun-*-linux-"$machine".tar.gz
