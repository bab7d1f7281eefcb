#!/bin/sh
# Runs the README's test command (./scripts/test.sh) as a new user of Debian
# release CODENAME would, in a fresh minimal system of it (see the README):
#   test-in-debian.sh CODENAME [MMDEBSTRAP-OPTION...]
# The options go to mmdebstrap for this run only. KESTRUN_DEBIAN_COMMAND runs
# another command instead, e.g. './scripts/install-deps.sh play && cmake --version'.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)

# The hook, outside the new system, whose root is $1: a copy of the checkout
# goes in, and the command runs there with a clean environment.
# shellcheck disable=SC2317,SC2329 # debian_run runs it
test_in_system() {
    debian_copy_checkout "$root" "$1/root/kestrun"
    release=$(sed -n 's/^PRETTY_NAME=//p' "$1/etc/os-release" | tr -d '"')
    echo "test-in-debian: bare $release system and the copy: $(debian_seconds "$KESTRUN_DEBIAN_START")"
    start=$(date +%s) status=0
    chroot "$1" env -i HOME=/root PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
        TERM="${TERM:-dumb}" LANG=C.UTF-8 /bin/sh -c "cd /root/kestrun && $KESTRUN_DEBIAN_COMMAND" || status=$?
    echo "test-in-debian: $KESTRUN_DEBIAN_COMMAND: $(debian_seconds "$start"), exit status $status"
    return "$status"
}
# shellcheck source=scripts/debian-system.sh
. "$root/scripts/debian-system.sh"

codename=${1:-}
if [ -z "${codename##*[!a-z0-9-]*}" ]; then
    echo "usage: $0 CODENAME [MMDEBSTRAP-OPTION...]   (a Debian release or suite, as trixie or stable)" >&2
    exit 2
fi
shift
if [ "$(id -u)" -ne 0 ] || [ ! -d "$root/.git" ]; then
    echo "test-in-debian: run it as root (for mmdebstrap, mount and chroot) in a clone with a .git folder" >&2
    exit 1
fi
"$root/scripts/install-deps.sh" chroot
KESTRUN_DEBIAN_START=$(date +%s)
KESTRUN_DEBIAN_COMMAND=${KESTRUN_DEBIAN_COMMAND:-./scripts/test.sh}
export KESTRUN_DEBIAN_START KESTRUN_DEBIAN_COMMAND
debian_system bare "$codename" git,ca-certificates "$@"
debian_run test_in_system "$@"
