#!/bin/sh
# Installs the Debian packages of a set that are missing (so running it again
# does nothing), or with --list prints the set:
#   install-deps.sh [--list] SET
#   play       what building and playing needs
#   package    that, and what building the .deb needs
#   test       that, and what the test suite needs
#   windows    what the Windows cross build needs
#   chroot     what making fresh Debian systems needs (scripts/debian-system.sh)
#   emulation  what running arm64 programs on this machine needs
set -eu

play="cmake make ninja-build g++ pkg-config libglut-dev libglu1-mesa-dev libgl1-mesa-dri
      libx11-dev libx11-xcb-dev libpng-dev"
# CPack works out the package's dependencies with dpkg-shlibdeps and file.
package="$play dpkg-dev file"
# libclang-rt-dev brings the runtimes that -fsanitize=fuzzer, address and
# undefined link, for the system's default clang; openbox is the window
# manager one end-to-end check runs under; FreeType and the font make the
# glyphs the game carries, which a test checks.
test="$package libfreetype-dev fonts-wqy-microhei git shellcheck libgtest-dev xvfb xauth xdotool imagemagick x11-utils
      openbox clang libclang-rt-dev desktop-file-utils appstream man-db lintian
      wine wine64 g++-aarch64-linux-gnu qemu-user-static googletest"

# MinGW-w64 with the posix thread model (GoogleTest needs it), NSIS for the
# installer, icoutils for the program's icon, dpkg-dev for fetching
# freeglut's Debian source, libglut-dev for its copyright file, GoogleTest's
# sources.
windows="cmake make g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix nsis icoutils
         dpkg-dev libglut-dev googletest"

# dpkg-dev's dpkg-architecture names the kernel's processors.
chroot="mmdebstrap git dpkg-dev"
# qemu-user through the kernel's binfmt_misc; arch-test, which mmdebstrap asks
# for to make a system of another architecture.
emulation="qemu-user-static binfmt-support arch-test"

list=no
[ "${1:-}" != --list ] || { list=yes && shift; }

case "${1:-}" in
    play) wanted=$play ;;
    package) wanted=$package ;;
    test) wanted=$test ;;
    windows) wanted=$windows ;;
    chroot) wanted=$chroot ;;
    emulation) wanted=$emulation ;;
    *) echo "usage: $0 [--list] play|package|test|windows|chroot|emulation" >&2 && exit 2 ;;
esac
# shellcheck disable=SC2086
[ "$list" = no ] || { echo $wanted && exit 0; }

# One question to dpkg for them all: play.sh asks at every start.
# shellcheck disable=SC2086
installed=" $(dpkg-query -W -f='${db:Status-Abbrev} ${Package}\n' $wanted 2>/dev/null |
    sed -n 's/^ii *//p' | tr '\n' ' ')"
missing=""
for package in $wanted; do
    case "$installed" in
        *" $package "*) ;;
        *) missing="$missing $package" ;;
    esac
done
[ -z "$missing" ] && exit 0

echo "Installing missing packages:$missing"
sudo=""
[ "$(id -u)" -eq 0 ] || sudo=sudo
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
# Wine serves only the test command's Windows runs, and Debian testing is at
# times without it: the other steps still run there, and those runs fail.
for package in wine wine64; do
    case "$missing " in
        *" $package "*)
            LC_ALL=C apt-cache policy "$package" | grep -q 'Candidate: [^(]' && continue
            echo "install-deps: $package cannot be installed from this system's sources" >&2
            missing=$(echo "$missing " | sed "s/ $package / /") ;;
    esac
done
# shellcheck disable=SC2086
$sudo apt-get install -y -qq --no-install-recommends $missing
