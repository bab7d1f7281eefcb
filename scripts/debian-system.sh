# shellcheck shell=sh
# Fresh minimal Debian systems of any release and architecture, to build or
# test in (test-in-debian.sh, build-linux.sh, build-deb.sh,
# tests/portable/check.sh). Sourced, as root, with $root set to the checkout,
# after the script defines its hook functions and before it does anything
# else: in a hook, the script is started again and this file runs the hook.
#   debian_architecture ARCH   the systems from now on are of ARCH: this
#       machine's, or arm64, run under qemu-user (set up here); says in one
#       line why not where the kernel cannot run them
#   debian_system NAME CODENAME PACKAGES [MMDEBSTRAP-OPTION...]   a minimal
#       system (minbase) of CODENAME holding PACKAGES (comma-separated), made
#       once from this system's own mirrors and keyrings (its release's
#       entries moved to CODENAME, the others left out) and cached as a
#       tarball named by NAME and the architecture, in $KESTRUN_DEBIAN_CACHE
#       or /var/cache/kestrun-debian (delete it to make it again)
#   debian_copy_checkout CHECKOUT DIR   its tracked and untracked, not
#       ignored, files and .git, no build folders, into the new DIR
#   debian_run HOOK [MMDEBSTRAP-OPTION...]   a fresh copy of that system under
#       /var/tmp, with /proc, /sys, /dev and a writable /dev/shm mounted;
#       HOOK, a function, runs outside it with its root as $1 and the
#       script's exported variables. All in mount and PID namespaces of their
#       own, so that however it ends (an error, Ctrl-C, SIGTERM, SIGHUP) no
#       process or mount is left; the copy goes. Returns HOOK's status.
# The options go to mmdebstrap for that system or run only, e.g.
# --aptopt='Acquire::Check-Valid-Until "false"' for a mirror out of date.

# shellcheck disable=SC2154
: "${root:?is the checkout, set by the script that sources this one}"
debian_script=$(cd "$(dirname "$0")" && pwd)/$(basename "$0")
debian_here=$(sed -n 's/^VERSION_CODENAME=//p' /etc/os-release | tr -d "\"'")
debian_tarball="" debian_codename="" debian_scratch="" debian_child=""
debian_arch=$(dpkg --print-architecture)
debian_seconds() { echo "$(($(date +%s) - $1)) s"; }

# Ends a run that is still going and removes its copy; exits with the status
# the script was ending with.
debian_cleanup() {
    status=$?
    trap '' INT TERM HUP PIPE
    set +e
    if [ -n "$debian_child" ]; then
        echo "debian-system: interrupted; ending the run and removing its system" >&2
        first=$(cat "/proc/$debian_child/task/$debian_child/children" 2>/dev/null)
        kill -s KILL "${first%% *}" 2>/dev/null || kill -s KILL "$debian_child"
        wait "$debian_child"
    fi
    [ -z "$debian_scratch" ] || rm -rf --one-file-system "$debian_scratch" "$debian_tarball.partial"
    exit "$status"
}
trap debian_cleanup EXIT
trap 'exit 129' HUP; trap 'exit 130' INT; trap 'exit 141' PIPE; trap 'exit 143' TERM

# mmdebstrap in the background, so that a signal to the script is acted on
# at once; once the namespaces' first process ends, nothing of the run is left.
debian_in_namespaces() {
    TMPDIR=$debian_scratch unshare --mount --pid --fork --kill-child mmdebstrap --mode=root \
        --architectures="$debian_arch" "$@" 3>&1 &
    debian_child=$!
    wait "$debian_child" || { debian_child="" && return 1; }
    debian_child=""
}

# Programs of another architecture run under qemu-user, through the
# kernel's binfmt_misc; its entry's F flag opens the emulator when it is
# registered, so they run inside chroots that hold none.
debian_architecture() {
    debian_arch=$1
    [ "$1" != "$(dpkg --print-architecture)" ] || return 0
    "$root/scripts/install-deps.sh" emulation
    binfmt=/proc/sys/fs/binfmt_misc
    mountpoint -q "$binfmt" || mount -t binfmt_misc binfmt_misc "$binfmt" 2>/dev/null || true
    update-binfmts --enable "qemu-$(debian_machine "$1")" >/dev/null 2>&1 || true
    grep -qx enabled "$binfmt/qemu-$(debian_machine "$1")" 2>/dev/null || {
        echo "debian-system: this kernel cannot run $1 programs: no binfmt_misc entry for qemu-user is enabled" >&2
        return 1
    }
}

# The kernel's name of a Debian architecture (aarch64 for arm64).
debian_machine() { dpkg-architecture -A "$1" -q DEB_TARGET_GNU_CPU; }

debian_fresh_scratch() {
    [ -z "$debian_scratch" ] || rm -rf --one-file-system "$debian_scratch"
    debian_scratch=$(mktemp -d "/var/tmp/kestrun-debian-$1.XXXXXX")
}

# This system's entries of its own release, moved to CODENAME, into DIR,
# less the suite LEFT-OUT, if one is named.
debian_sources() {
    deb='^\([[:space:]]*deb[[:space:]]\+\(\[[^]]*\][[:space:]]\+\)\?[^[:space:]]\+[[:space:]]\+\)'
    if ! grep -qsi -e "$deb$debian_here\\>" -e "^suites:.*[:[:space:]]$debian_here\\>" /etc/apt/sources.list \
        /etc/apt/sources.list.d/*.list /etc/apt/sources.list.d/*.sources; then
        echo "debian-system: no entry of this system's release (${debian_here:-unnamed}) in /etc/apt's sources" >&2
        return 1
    fi
    mkdir -p "$2"
    for file in /etc/apt/sources.list /etc/apt/sources.list.d/*.list /etc/apt/sources.list.d/*.sources; do
        [ -f "$file" ] || continue
        case "$file" in
            *.sources) debian_stanzas "$1" "$3" <"$file" ;;
            *) sed -n -e "s/$deb$debian_here\\>/\\1$1/" -e T ${3:+-e "/[[:space:]]$3[[:space:]]/d"} -e p "$file" ;;
        esac >"$2/${file##*/}"
    done
}

# The deb822 stanzas of this system's release, their suites moved to
# CODENAME, less LEFT-OUT; a stanza left with no suite goes.
debian_stanzas() {
    awk -v here="$debian_here" -v to="$1" -v out=" $2 " 'BEGIN { RS = "" }
        { n = split($0, line, "\n"); text = ""; kept = 0
          for (i = 1; i <= n; i++) {
              if (tolower(line[i]) ~ /^suites:/) {
                  m = split(substr(line[i], 8), suite, /[ \t]+/); line[i] = "Suites:"
                  for (j = 1; j <= m; j++) {
                      moved = to substr(suite[j], length(here) + 1)
                      if ((suite[j] == here || index(suite[j], here "-") == 1) && !index(out, " " moved " ")) {
                          line[i] = line[i] " " moved; kept = 1 }
                  }
              }
              text = text line[i] "\n"
          }
          if (kept) printf "%s\n", text }'
}

debian_system() {
    name=$1 codename=$2 packages=$3
    shift 3
    debian_codename=$codename
    debian_tarball="${KESTRUN_DEBIAN_CACHE:-/var/cache/kestrun-debian}/$name-$codename-$debian_arch.tar"
    [ ! -f "$debian_tarball" ] || return 0
    start=$(date +%s)
    debian_fresh_scratch "$codename"
    # The mirror these machines reach serves no arm64 packages of
    # bullseye-security (404s), though its index lists them.
    left_out=$([ "$debian_arch:$codename" != arm64:bullseye ] || echo bullseye-security)
    debian_sources "$codename" "$debian_scratch/sources" "$left_out" || return
    mkdir -p "$(dirname "$debian_tarball")"
    # The cache keeps neither this run's options nor this host's resolv.conf.
    # shellcheck disable=SC2016
    if ! debian_in_namespaces --logfile="$debian_tarball.log" --variant=minbase --include="$packages" \
        --customize-hook='cd "$1" && rm -f etc/apt/apt.conf.d/99mmdebstrap etc/dpkg/dpkg.cfg.d/99mmdebstrap etc/resolv.conf' \
        --format=tar "$@" "$codename" "$debian_tarball.partial" "$debian_scratch/sources/"*; then
        tail -n 8 "$debian_tarball.log" >&2
        echo "debian-system: mmdebstrap of $codename failed (its log: $debian_tarball.log)" >&2
        return 1
    fi
    mv "$debian_tarball.partial" "$debian_tarball"
    echo "debian-system: $codename system made, cached as $debian_tarball: $(debian_seconds "$start")"
}

debian_copy_checkout() {
    mkdir "$2"
    # Build folders are left out even where a .gitignore would not.
    { git -C "$1" ls-files -z --cached --others --exclude-standard | grep -zv '^build[^/]*/' || true; printf '.git\0'; } |
        tar -C "$1" --null --ignore-failed-read -T - -cf - | tar -C "$2" --no-same-owner -xf -
}

# A fresh copy, unpacked by tar itself (mmdebstrap's tar-in, through its hook
# socket, once died of SIGPIPE here): mmdebstrap mounts what a chroot needs,
# writes this run's options into it (for apt-get there too) and runs the hook,
# whose output goes to the script's own (fd 3) and whose status is kept
# beside the copy. X servers and Wine need a writable /proc and a /dev/shm of
# their own: mmdebstrap's /proc is read-only, its /dev/shm the host's.
debian_run() {
    hook=$1
    shift
    debian_fresh_scratch run
    debian_in_namespaces --quiet --variant=custom --skip=update \
        --setup-hook="tar -C \"\$1\" --numeric-owner -xf '$debian_tarball'" \
        --customize-hook="exec >&3 3>&-; mount -o remount,rw \"\$1/proc\" &&
            mount -t tmpfs -o mode=1777,nosuid,nodev tmpfs \"\$1/dev/shm\" || exit 1
            status=0; KESTRUN_DEBIAN_HOOK='$hook' '$debian_script' \"\$1\" || status=\$?
            echo \"\$status\" >\"\$1.status\"" \
        "$@" "$debian_codename" "$debian_scratch/root" '' || true
    read -r status 2>/dev/null <"$debian_scratch/root.status" ||
        { echo "debian-system: mmdebstrap could not run $hook in the $debian_codename system" >&2 && return 1; }
    rm -rf --one-file-system "$debian_scratch"
    debian_scratch=""
    return "$status"
}

# In a hook of debian_run, the script was started again to run it.
if [ "${MMDEBSTRAP_HOOK:-}" = customize ] && [ -n "${KESTRUN_DEBIAN_HOOK:-}" ]; then
    "$KESTRUN_DEBIAN_HOOK" "$1"
    exit
fi
