#!/bin/sh
# Builds the Debian package of Kestrun (packaging/build-deb.sh) and installs
# it, with the packages it depends on (through sudo unless run as root). Run
# it again after an update.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
sudo=""
if [ "$(id -u)" -ne 0 ]; then
    sudo="sudo"
fi

deb=$("$root/packaging/build-deb.sh")
$sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y --reinstall "$deb"
echo "Installed $(basename "$deb"): start Kestrun from the desktop menu, or run kestrun (in /usr/games)."
