#!/bin/sh
# One commit gives the same .deb byte for byte: built by packaging/build-deb.sh
# in two clones at different paths, one after the other, with its time stamps
# the commit's. Exit status 77 (skipped) outside a git checkout.
#   reproducible_deb.sh SOURCE_DIR
set -eu
source=$1
if ! commit_time=$(git -C "$source" log -1 --format=%ct 2>/dev/null); then
    echo "not a git checkout: nothing to clone"
    exit 77
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
unset SOURCE_DATE_EPOCH

# Prints the path of the .deb built in a new clone at $1; all else to stderr.
build() {
    git clone --quiet --no-hardlinks "$source" "$1" >&2
    "$1/packaging/build-deb.sh" 2>"$work/build.log" || {
        cat "$work/build.log"
        echo "build-deb.sh failed in $1"
        exit 1
    } >&2
}
first=$(build "$work/a/kestrun")
second=$(build "$work/somewhere/else/kestrun-second-clone")
sha256sum "$first" "$second"
if ! cmp "$first" "$second"; then
    echo "the two builds differ"
    exit 1
fi
# Every file in it is dated by the commit.
stamp=$(TZ=UTC date -d "@$commit_time" '+%Y-%m-%d %H:%M')
others=$(TZ=UTC dpkg-deb --contents "$first" | grep -v -F " $stamp ./" || true)
if [ -n "$others" ]; then
    echo "files not dated by the commit ($stamp):"
    echo "$others"
    exit 1
fi
