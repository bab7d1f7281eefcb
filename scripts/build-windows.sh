#!/bin/sh
# Builds Kestrun for 64-bit Windows on this Debian machine, into build-windows/:
#   kestrun.exe                     the game (no console, only Windows' own DLLs)
#   kestrun-VERSION-win64.zip       the exe, the README and the licence
#   kestrun-VERSION-win64.exe       an installer (Program Files, Start Menu, uninstaller)
# It installs what is missing, fetches freeglut's Debian source through an
# apt configuration of its own (the system's sources stay as they are) and
# builds freeglut 3.4 with MinGW-w64. One commit gives the same files byte for
# byte wherever and whenever it is built. --with-tests also builds the unit
# suites, which ctest runs under Wine, and, as the test command does, treats
# a compiler warning as an error. Running it again redoes only what changed.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
out="$root/build-windows"
tests=OFF
[ "${1:-}" = --with-tests ] && tests=ON
"$root/scripts/install-deps.sh" windows
mkdir -p "$out"

# freeglut's upstream source, as this system's release carries it, checked
# against the hash in the signed index of the deb-src twins of the system's
# own entries (each with its type changed, in either format; only the files
# apt reads count, so one disabled by a new name stays disabled).
apt_dir="$out/apt"
fetch_freeglut() {
    apt-get "$@" source --print-uris freeglut >"$apt_dir/uris" 2>>"$apt_dir/update.log" || return
    # One line a file of the source package: 'URI' FILE SIZE HASH.
    read -r uri file _ hash <<EOF
$(sed -n "s/^'\([^']*\.orig\.tar\.[a-z0-9]*\)' /\1 /p" "$apt_dir/uris" | head -1)
EOF
    [ -n "${hash:-}" ] || return
    /usr/lib/apt/apt-helper "$@" download-file "$uri" "$apt_dir/$file" "$hash"
}
if ! ls "$apt_dir"/freeglut_*.orig.tar.* >/dev/null 2>&1; then
    rm -rf "$apt_dir/sources"
    mkdir -p "$apt_dir/sources" "$apt_dir/lists/partial" "$apt_dir/cache/archives/partial"
    for file in /etc/apt/sources.list /etc/apt/sources.list.d/*.list /etc/apt/sources.list.d/*.sources; do
        [ -f "$file" ] || continue
        sed -e 's/^\([[:space:]]*\)deb\([[:space:]]\)/\1deb-src\2/' -e 's/^\(types:\).*/\1 deb-src/I' \
            "$file" >"$apt_dir/sources/${file##*/}"
    done
    # Root runs it here anyway; apt's _apt user could not write these folders.
    set -- -o Dir::Etc::SourceList=/dev/null -o "Dir::Etc::SourceParts=$apt_dir/sources" \
        -o "Dir::State::Lists=$apt_dir/lists" -o "Dir::Cache=$apt_dir/cache" \
        -o APT::Sandbox::User=root
    # A third-party repository that publishes no sources fails the update, yet
    # the others' lists are fetched: only a failed fetch of freeglut counts.
    apt-get "$@" update >"$apt_dir/update.log" 2>&1 || true
    if ! fetch_freeglut "$@"; then
        cat "$apt_dir/update.log" >&2
        echo "build-windows: could not fetch freeglut's source through $apt_dir/sources" >&2
        exit 1
    fi
fi

toolchain="$root/cmake/mingw-w64.cmake"
deps="$out/deps"
if [ ! -f "$deps/lib/libfreeglut_static.a" ]; then
    rm -rf "$out/freeglut"
    mkdir -p "$out/freeglut"
    for archive in "$apt_dir"/freeglut_*.orig.tar.*; do break; done
    tar -xf "$archive" -C "$out/freeglut" --strip-components=1
    # freeglut's own warnings are not ours: its log is shown only on failure.
    log="$out/freeglut/build.log"
    if ! { cmake -S "$out/freeglut" -B "$out/freeglut/build" -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
        -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$deps" \
        -DFREEGLUT_BUILD_SHARED_LIBS=OFF -DFREEGLUT_BUILD_DEMOS=OFF \
        -DCMAKE_POLICY_VERSION_MINIMUM=3.5 &&
        cmake --build "$out/freeglut/build" -j "$(nproc)" &&
        cmake --install "$out/freeglut/build"; } >"$log" 2>&1; then
        cat "$log" >&2
        echo "build-windows: freeglut did not build" >&2
        exit 1
    fi
fi

cmake -S "$root" -B "$out" -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release \
    -DKESTRUN_WINDOWS_DEPS="$deps" \
    -DKESTRUN_BUILD_TESTS="$tests" -DKESTRUN_WERROR="$tests" >/dev/null
cmake --build "$out" -j "$(nproc)"
# The zip and the installer are dated by the commit, so one commit gives the
# same packages whenever it is built.
SOURCE_DATE_EPOCH=$("$root/scripts/source-date-epoch.sh")
export SOURCE_DATE_EPOCH
(cd "$out" && cpack -G "ZIP;NSIS" -B "$out" >/dev/null)
ls -l "$out/kestrun.exe" "$out"/kestrun-*-win64.zip "$out"/kestrun-*-win64.exe
