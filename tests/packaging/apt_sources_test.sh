#!/bin/sh
# scripts/apt-sources.sh reads a made-up apt configuration, in both formats,
# as apt would, and prints exactly the stanzas expected of each mode.
#   apt_sources_test.sh
set -eu
script=$(cd "$(dirname "$0")/../../scripts" && pwd)/apt-sources.sh
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/apt/sources.list.d"
printf 'VERSION_CODENAME="kestrel"\n' >"$work/os-release"
KESTRUN_APT_ETC="$work/apt"
KESTRUN_OS_RELEASE="$work/os-release"
export KESTRUN_APT_ETC KESTRUN_OS_RELEASE

cat >"$work/apt/sources.list" <<'EOF'
# deb http://commented.example/debian kestrel main
deb [ arch=amd64 signed-by=/keys/main.gpg ] http://mirror.example/debian kestrel main contrib # the archive
deb-src http://mirror.example/debian kestrel main
deb http://mirror.example/debian kestrel-updates main
deb http://vendor.example/apt kestrelish main
EOF
cat >"$work/apt/sources.list.d/extra.sources" <<'EOF'
Types: deb
# a comment does not end the stanza
URIs: http://security.example/debian-security
Suites: kestrel-security
Components: main
Signed-By:
 -----BEGIN PGP PUBLIC KEY BLOCK-----
 .
 mQINBGaW
 -----END PGP PUBLIC KEY BLOCK-----

Types: deb
URIs: http://disabled.example/debian
Suites: kestrel
Components: main
Enabled: no
EOF
echo 'deb http://ignored.example/debian kestrel main' >"$work/apt/sources.list.d/old.list.disabled-by-farm"

status=0
check() {
    expected=$1
    shift
    if ! "$script" "$@" >"$work/out" 2>"$work/err"; then
        echo "apt-sources.sh $* failed:"
        cat "$work/err"
        status=1
    elif ! printf '%s\n' "$expected" | diff -u - "$work/out"; then
        echo "apt-sources.sh $* printed the wrong stanzas (diff above)"
        status=1
    fi
}

key=' -----BEGIN PGP PUBLIC KEY BLOCK-----
 .
 mQINBGaW
 -----END PGP PUBLIC KEY BLOCK-----'
check "Types: deb-src
URIs: http://mirror.example/debian
Suites: kestrel
Components: main contrib
Signed-By: /keys/main.gpg

Types: deb-src
URIs: http://mirror.example/debian
Suites: kestrel-updates
Components: main

Types: deb-src
URIs: http://vendor.example/apt
Suites: kestrelish
Components: main

Types: deb-src
URIs: http://security.example/debian-security
Suites: kestrel-security
Components: main
Signed-By:
$key" deb-src

check "Types: deb
URIs: http://mirror.example/debian
Suites: osprey
Components: main contrib
Signed-By: /keys/main.gpg

Types: deb
URIs: http://mirror.example/debian
Suites: osprey-updates
Components: main

Types: deb
URIs: http://security.example/debian-security
Suites: osprey-security
Components: main
Signed-By:
$key" deb osprey

check "http://mirror.example/debian
/keys/main.gpg" mirror

# Nothing of the release left: a clear failure, not an empty list.
printf 'VERSION_CODENAME=heron\n' >"$work/os-release"
if "$script" deb osprey >"$work/out" 2>"$work/err" || ! grep -q '^apt-sources: .*heron' "$work/err"; then
    echo "apt-sources.sh deb did not fail clearly on a configuration without the release:"
    cat "$work/out" "$work/err"
    status=1
fi
exit "$status"
