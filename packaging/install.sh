#!/bin/sh
# Builds the Debian package of Kestrun and installs it, with the packages it
# depends on (through sudo unless run as root). Run it again after an update.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build-deb"
sudo=""
if [ "$(id -u)" -ne 0 ]; then
    sudo="sudo"
fi

"$root/scripts/install-deps.sh" play
# CPack works out the package's dependencies with dpkg-shlibdeps and file.
for package in dpkg-dev file; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "ok installed"; then
        $sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "$package"
    fi
done

cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DKESTRUN_BUILD_TESTS=OFF
cmake --build "$build" -j "$(nproc)"
rm -f "$build"/kestrun_*.deb
(cd "$build" && cpack -G DEB -B "$build")
deb=$(ls "$build"/kestrun_*.deb)
$sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y --reinstall "$deb"
echo "Installed $(basename "$deb"): start Kestrun from the desktop menu, or run kestrun (in /usr/games)."
