#!/bin/sh
# Runs the README's test command (./scripts/test.sh) as a new user of Debian
# release CODENAME would, in a fresh minimal system of it (see the README).
#   test-in-debian.sh CODENAME [MMDEBSTRAP-OPTION...]
# The options go to mmdebstrap for this run only, e.g. for a mirror whose
# Release file is out of date --aptopt='Acquire::Check-Valid-Until "false"'.
# KESTRUN_DEBIAN_COMMAND runs another command instead, e.g.
# './scripts/install-deps.sh play && cmake --version'.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
seconds() { echo "$(($(date +%s) - $1)) s"; }

# mmdebstrap runs this script again as its customize hook, outside the new
# system, whose root is $1. Fd 3 is the first run's output.
if [ "${MMDEBSTRAP_HOOK:-}" = customize ]; then
    exec >&3 3>&-
    # For X servers and Wine: mmdebstrap's /proc is read-only, its /dev/shm the host's.
    mount -o remount,rw "$1/proc"
    mount -t tmpfs -o mode=1777,nosuid,nodev tmpfs "$1/dev/shm"
    mkdir "$1/root/kestrun"
    # Build folders are left out even where a .gitignore would not.
    { git -C "$root" ls-files -z --cached --others --exclude-standard | grep -zv '^build[^/]*/' || true; printf '.git\0'; } |
        tar -C "$root" --null --ignore-failed-read -T - -cf - | tar -C "$1/root/kestrun" --no-same-owner -xf -
    release=$(sed -n 's/^PRETTY_NAME=//p' "$1/etc/os-release" | tr -d '"')
    echo "test-in-debian: bare $release system and the copy: $(seconds "$KESTRUN_DEBIAN_START")"
    start=$(date +%s) status=0
    chroot "$1" env -i HOME=/root PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
        TERM="${TERM:-dumb}" LANG=C.UTF-8 /bin/sh -c "cd /root/kestrun && $KESTRUN_DEBIAN_COMMAND" || status=$?
    echo "test-in-debian: $KESTRUN_DEBIAN_COMMAND: $(seconds "$start"), exit status $status"
    echo "$status" >"$1.status"
    exit 0
fi

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
here=$(sed -n 's/^VERSION_CODENAME=//p' /etc/os-release | tr -d "\"'")
tarball="${KESTRUN_DEBIAN_CACHE:-/var/cache/kestrun-debian}/$codename-$(dpkg --print-architecture).tar"
KESTRUN_DEBIAN_START=$(date +%s)
KESTRUN_DEBIAN_COMMAND=${KESTRUN_DEBIAN_COMMAND:-./scripts/test.sh}
export KESTRUN_DEBIAN_START KESTRUN_DEBIAN_COMMAND
scratch="" child=""

# mmdebstrap runs in mount and PID namespaces of its own: once their first process
# ends, no process or mount of the run is left, and the system can go.
cleanup() {
    status=$?
    trap '' INT TERM HUP PIPE
    set +e
    if [ -n "$child" ]; then
        echo "test-in-debian: interrupted; ending the run and removing its system" >&2
        first=$(cat "/proc/$child/task/$child/children" 2>/dev/null)
        kill -s KILL "${first%% *}" 2>/dev/null || kill -s KILL "$child"
        wait "$child"
    fi
    [ -z "$scratch" ] || rm -rf --one-file-system "$scratch" "$tarball.partial"
    exit "$status"
}
trap cleanup EXIT
trap 'exit 129' HUP; trap 'exit 130' INT; trap 'exit 141' PIPE; trap 'exit 143' TERM
# In the background, so that a signal to this script is acted on at once.
in_namespaces() {
    TMPDIR=$scratch unshare --mount --pid --fork --kill-child mmdebstrap --mode=root "$@" 3>&1 &
    child=$!
    wait "$child" || { child="" && return 1; }
    child=""
}

scratch=$(mktemp -d "/var/tmp/kestrun-debian-$codename.XXXXXX")
if [ ! -f "$tarball" ]; then
    # The entries of this system's release moved to CODENAME, the others left out or disabled.
    deb='^\([[:space:]]*deb[[:space:]]\+\(\[[^]]*\][[:space:]]\+\)\?[^[:space:]]\+[[:space:]]\+\)'
    if ! grep -qsi -e "$deb$here\\>" -e "^suites:.*[:[:space:]]$here\\>" /etc/apt/sources.list /etc/apt/sources.list.d/*.list \
        /etc/apt/sources.list.d/*.sources; then
        echo "test-in-debian: no entry of this system's release (${here:-unnamed}) in /etc/apt's sources" >&2
        exit 1
    fi
    mkdir -p "$scratch/sources" "$(dirname "$tarball")"
    for file in /etc/apt/sources.list /etc/apt/sources.list.d/*.list /etc/apt/sources.list.d/*.sources; do
        [ -f "$file" ] || continue
        case "$file" in
            *.sources) sed -e '/^suites:/I!b' -e "/[:[:space:]]$here\\>/!s/\$/\\nEnabled: no/" \
                -e "s/\\([:[:space:]]\\)$here\\>/\\1$codename/g" "$file" ;;
            *) sed -n "s/$deb$here\\>/\\1$codename/p" "$file" ;;
        esac >"$scratch/sources/${file##*/}"
    done
    # The cache keeps neither this run's options nor this host's resolv.conf.
    # shellcheck disable=SC2016
    if ! in_namespaces --logfile="$tarball.log" --variant=minbase --include=git,ca-certificates \
        --customize-hook='cd "$1" && rm -f etc/apt/apt.conf.d/99mmdebstrap etc/dpkg/dpkg.cfg.d/99mmdebstrap etc/resolv.conf' \
        --format=tar "$@" "$codename" "$tarball.partial" "$scratch/sources/"*; then
        tail -n 8 "$tarball.log" >&2
        echo "test-in-debian: mmdebstrap of $codename failed (its log: $tarball.log)" >&2
        exit 1
    fi
    mv "$tarball.partial" "$tarball"
    echo "test-in-debian: bare $codename system made, cached as $tarball: $(seconds "$KESTRUN_DEBIAN_START")"
fi

# A fresh copy, unpacked by tar itself (mmdebstrap's tar-in, through its hook
# socket, once died of SIGPIPE here): mmdebstrap mounts what a chroot needs,
# writes this run's options into it (for the command's apt-get too) and runs
# the hook.
in_namespaces --quiet --variant=custom --skip=update \
    --setup-hook="tar -C \"\$1\" --numeric-owner -xf '$tarball'" \
    --customize-hook="$root/scripts/test-in-debian.sh" "$@" "$codename" "$scratch/root" '' || true
if ! read -r status 2>/dev/null <"$scratch/root.status"; then
    echo "test-in-debian: mmdebstrap could not run the command in the $codename system" >&2
    exit 1
fi
[ "$status" -eq 0 ] || exit "$status"
