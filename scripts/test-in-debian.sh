#!/bin/sh
# Runs the README's test command (./scripts/test.sh) as a new user of Debian
# release CODENAME would: in a minimal system of that release, in a chroot,
# on a copy of this checkout (its tracked and untracked, not ignored, files
# and .git, no build folders), with a clean environment.
#   test-in-debian.sh CODENAME
# Run as root; it installs debootstrap if need be. The bare system
# (debootstrap's minbase, with this system's mirrors set to CODENAME,
# CODENAME-updates and CODENAME-security, and git) is built once per release
# and architecture and kept as a tarball in
# $KESTRUN_DEBIAN_CACHE (default /var/cache/kestrun-debian; delete it to
# rebuild). Each run unpacks a fresh copy under /var/tmp and removes it at the
# end, however the run ends. The exit status is the test command's.
# KESTRUN_DEBIAN_COMMAND, when working on this script, runs another command
# there instead, e.g. './scripts/install-deps.sh play && cmake --version'.
set -eu
usage() {
    echo "usage: $0 CODENAME   (a Debian release, as in /etc/os-release's VERSION_CODENAME)" >&2
    exit 2
}
if [ "$#" -ne 1 ] || [ -z "$1" ]; then
    usage
fi
codename=$1
# It names files and suites.
case "$codename" in
    *[!a-z0-9-]*) usage ;;
esac
if [ "$(id -u)" -ne 0 ]; then
    echo "test-in-debian: must be run as root (debootstrap, mount and chroot need it)" >&2
    exit 1
fi
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh" chroot
for tool in debootstrap chroot setsid git tar; do
    if ! command -v "$tool" >/dev/null 2>&1; then
        echo "test-in-debian: $tool not found" >&2
        exit 1
    fi
done

if [ ! -d "$root/.git" ]; then
    echo "test-in-debian: $root is no git clone with a .git folder of its own" >&2
    exit 1
fi
cache=${KESTRUN_DEBIAN_CACHE:-/var/cache/kestrun-debian}
tarball="$cache/$codename-$(dpkg --print-architecture).tar.gz"
command=${KESTRUN_DEBIAN_COMMAND:-./scripts/test.sh}
path=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin
scratch=""
rootfs=""
child=""

# Mount points under $1, the latest first, so that each comes before the one
# it was mounted on.
mounts_under() {
    awk -v dir="$1/" 'index($2 "/", dir) == 1 { print $2 }' /proc/mounts | tac
}

unmount_all() {
    for target in $(mounts_under "$scratch"); do
        umount "$target" 2>/dev/null || umount -l "$target" || true
    done
}

# What runs with its root in the scratch system, however it was started.
chroot_pids() {
    for proc in /proc/[0-9]*; do
        case "$(readlink "$proc/root" 2>/dev/null)" in
            "$rootfs" | "$rootfs"/*) echo "${proc#/proc/}" ;;
        esac
    done
}

stop_chroot() {
    for signal in TERM KILL; do
        i=0
        while pids=$(chroot_pids) && [ -n "$pids" ] && [ "$i" -lt 50 ]; do
            if [ "$i" -eq 0 ]; then
                # shellcheck disable=SC2086
                kill -s "$signal" $pids 2>/dev/null
            fi
            sleep 0.2
            i=$((i + 1))
        done
    done
}

# Whatever ends the run: its processes stop, every mount in the scratch system
# goes, and only then is it deleted, never through a mount that stayed.
cleanup() {
    status=$?
    trap - EXIT
    # Nothing may cut it short: not another Ctrl-C, nor a closed output pipe
    # (as of a tee that the same Ctrl-C ended), nor one failing step.
    trap '' INT TERM HUP PIPE
    set +e
    if [ -n "$child" ]; then
        kill -s TERM -- "-$child" 2>/dev/null || true
    fi
    if [ -n "$scratch" ]; then
        # A signal may come before rootfs is set: an empty one would match all.
        rootfs="$scratch/root"
        stop_chroot
        [ -n "$child" ] && wait "$child" 2>/dev/null
        unmount_all
        left=$(mounts_under "$scratch")
        if [ -n "$left" ]; then
            echo "test-in-debian: still mounted, so $scratch is left in place:" "$left" >&2
        else
            rm -rf --one-file-system "$scratch"
        fi
    fi
    exit "$status"
}
# Stopping a build and removing its system can take a while: say so. A closed
# output pipe ends the run too, but cleanly.
interrupted() {
    trap '' PIPE
    echo "test-in-debian: interrupted; stopping the run and removing its system" >&2
    exit "$1"
}
trap cleanup EXIT
trap 'interrupted 129' HUP
trap 'interrupted 130' INT
trap 'interrupted 143' TERM
trap 'interrupted 141' PIPE

# Runs a command in a process group of its own and waits for it: a signal to
# this script is acted on at once, and the cleanup stops the whole group.
run() {
    setsid "$@" &
    child=$!
    run_status=0
    wait "$child" || run_status=$?
    child=""
    return "$run_status"
}

seconds() {
    echo "$(($(date +%s) - $1)) s"
}

in_chroot() {
    run env -i HOME=/root PATH="$path" TERM="${TERM:-dumb}" LANG=C.UTF-8 "$@" chroot "$rootfs" \
        /bin/sh -c "$chroot_command"
}

# The scratch system is a private mount of its own, so nothing mounted in it
# reaches the host's mount table or another namespace.
private_root() {
    mount --bind "$rootfs" "$rootfs"
    mount --make-private "$rootfs"
}

# X servers and Wine need all of these.
mount_system() {
    mount -t proc proc "$rootfs/proc"
    mount -t sysfs sysfs "$rootfs/sys"
    mount --bind /dev "$rootfs/dev"
    # A bind of a shared /dev would hand the mounts below it back to the host's.
    mount --make-rslave "$rootfs/dev"
    mount --bind /dev/pts "$rootfs/dev/pts"
    mount -t tmpfs -o mode=1777,nosuid,nodev tmpfs "$rootfs/dev/shm"
    if [ -e /etc/resolv.conf ]; then
        rm -f "$rootfs/etc/resolv.conf"
        cp -L /etc/resolv.conf "$rootfs/etc/resolv.conf"
    fi
}

bare_system() {
    mirror=$("$root/scripts/apt-sources.sh" mirror)
    keyring=$(printf '%s\n' "$mirror" | sed -n 2p)
    mirror=$(printf '%s\n' "$mirror" | sed -n 1p)
    echo "test-in-debian: making a bare $codename system from $mirror"
    debootstrap_start=$(date +%s)
    if ! run debootstrap --variant=minbase ${keyring:+"--keyring=$keyring"} \
        "$codename" "$rootfs" "$mirror" >"$scratch/debootstrap.log" 2>&1; then
        tail -n 30 "$scratch/debootstrap.log" >&2
        echo "test-in-debian: debootstrap of $codename from $mirror failed" >&2
        exit 1
    fi
    how="debootstrap $(seconds "$debootstrap_start"), then git, cached as $tarball"
    rm -f "$rootfs/etc/apt/sources.list"
    "$root/scripts/apt-sources.sh" deb "$codename" >"$rootfs/etc/apt/sources.list.d/debian.sources"
    # No init runs here: services that packages would start would outlive the run.
    printf '#!/bin/sh\nexit 101\n' >"$rootfs/usr/sbin/policy-rc.d"
    chmod 755 "$rootfs/usr/sbin/policy-rc.d"
    mount_system
    chroot_command="apt-get -qq update && apt-get -qq install -y --no-install-recommends git ca-certificates >/dev/null && apt-get clean"
    if ! in_chroot DEBIAN_FRONTEND=noninteractive; then
        echo "test-in-debian: installing git and ca-certificates in the $codename system failed" >&2
        exit 1
    fi
    unmount_all
    mkdir -p "$cache"
    partial=$(mktemp "$tarball.XXXXXX")
    tar --numeric-owner -C "$rootfs" -czf "$partial" .
    mv "$partial" "$tarball"
    private_root
}

scratch=$(mktemp -d "/var/tmp/kestrun-debian-$codename.XXXXXX")
rootfs="$scratch/root"
mkdir "$rootfs"
private_root
start=$(date +%s)
if [ -f "$tarball" ]; then
    tar --numeric-owner -C "$rootfs" -xzf "$tarball"
    how="unpacked from $tarball"
else
    bare_system
fi
mount_system
release=$(chroot "$rootfs" sed -n 's/^PRETTY_NAME=//p' /etc/os-release | tr -d '"')
echo "test-in-debian: bare $release system ($how): $(seconds "$start")"

start=$(date +%s)
mkdir "$rootfs/root/kestrun"
# Build folders are left out even where a .gitignore would not.
{
    git -C "$root" ls-files -z --cached --others --exclude-standard | grep -zv '^build[^/]*/' || true
    printf '.git\0'
} | tar -C "$root" --null --ignore-failed-read -T - -cf - |
    tar -C "$rootfs/root/kestrun" --no-same-owner -xf -
echo "test-in-debian: copy of the checkout: $(seconds "$start")"

start=$(date +%s)
chroot_command="cd /root/kestrun && $command"
status=0
in_chroot || status=$?
echo "test-in-debian: $command: $(seconds "$start"), exit status $status"
[ "$status" -eq 0 ] || exit "$status"
