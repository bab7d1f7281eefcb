#!/bin/sh
# Builds the Debian package of Kestrun into build-deb/ (a Release build) and
# prints its path; it installs only the build packages that are missing.
# One commit gives the same package byte for byte wherever and whenever it is
# built: its time stamps are the commit's, or SOURCE_DATE_EPOCH's when set.
#   packaging/build-deb.sh [--arch amd64|arm64]
# With --arch of another architecture than this machine's (as root), the
# package is built natively in a fresh minimal Debian 12 system of that
# architecture, run under qemu-user (scripts/debian-system.sh): this
# machine's dpkg architectures and apt configuration are left alone.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build-deb"
arch=$(dpkg --print-architecture)
# The release the foreign packages are built on: they install on it and later.
release=bookworm

# The hook, outside that system, whose root is $1: a copy of the checkout
# goes in, the package is built there and comes out.
# shellcheck disable=SC2317,SC2329 # debian_run runs it
build_in_system() {
    debian_copy_checkout "$root" "$1/root/kestrun"
    deb=$(chroot "$1" env -i HOME=/root PATH=/usr/sbin:/usr/bin:/sbin:/bin LANG=C.UTF-8 \
        SOURCE_DATE_EPOCH="$SOURCE_DATE_EPOCH" /bin/sh /root/kestrun/packaging/build-deb.sh)
    mkdir -p "$build"
    cp "$1$deb" "$build/"
}
# shellcheck source=scripts/debian-system.sh
. "$root/scripts/debian-system.sh"

case "$*" in
    "") ;;
    "--arch amd64" | "--arch arm64") arch=$2 ;;
    --arch*) echo "build-deb: --arch takes amd64 or arm64" >&2 && exit 2 ;;
    *) echo "usage: $0 [--arch amd64|arm64]" >&2 && exit 2 ;;
esac

SOURCE_DATE_EPOCH=$("$root/scripts/source-date-epoch.sh")
export SOURCE_DATE_EPOCH
if [ "$arch" != "$(dpkg --print-architecture)" ]; then
    if [ "$(id -u)" -ne 0 ]; then
        echo "build-deb: run it as root to build for $arch (for mmdebstrap, mount and chroot)" >&2
        exit 1
    fi
    {
        "$root/scripts/install-deps.sh" chroot
        debian_architecture "$arch"
        debian_system deb-build "$release" "$("$root/scripts/install-deps.sh" --list package | tr ' ' ,),git"
        rm -f "$build/kestrun_"*"_$arch.deb"
        debian_run build_in_system
    } >&2
    ls "$build/kestrun_"*"_$arch.deb"
    exit
fi

# Only the package's path goes to stdout; the rest of what is said, stderr.
"$root/scripts/install-deps.sh" package >&2
{
    cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DKESTRUN_BUILD_TESTS=OFF
    cmake --build "$build" -j "$(nproc)"
    rm -f "$build/kestrun_"*"_$arch.deb"
    (cd "$build" && cpack -G DEB -B "$build")
} >&2
ls "$build/kestrun_"*"_$arch.deb"
