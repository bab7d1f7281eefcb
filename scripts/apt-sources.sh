#!/bin/sh
# Prints this system's apt "deb" entries as deb822 stanzas, read as apt reads
# them: sources.list and sources.list.d/*.list (one-line format), and
# sources.list.d/*.sources (deb822), honouring comments, "Enabled: no" and
# signed-by options.
#   apt-sources.sh deb-src         the same entries as deb-src
#   apt-sources.sh deb CODENAME    the entries of this system's release (its
#                                  codename and codename-*, as -updates and
#                                  -security), moved to CODENAME; others,
#                                  as third-party ones, are left out
#   apt-sources.sh mirror          the URI of the first entry of the release
#                                  itself, and on a second line its keyring
#                                  file if it names one (for debootstrap)
# KESTRUN_APT_ETC (default /etc/apt) and KESTRUN_OS_RELEASE (default
# /etc/os-release) point it at another configuration.
set -eu
usage() {
    echo "usage: $0 deb-src | deb CODENAME | mirror" >&2
    exit 2
}
target=""
case "${1:-}" in
    deb-src | mirror) [ "$#" -eq 1 ] || usage ;;
    deb)
        if [ "$#" -ne 2 ] || [ -z "$2" ]; then
            usage
        fi
        target=$2
        ;;
    *) usage ;;
esac
mode=$1

etc=${KESTRUN_APT_ETC:-/etc/apt}
os_release=${KESTRUN_OS_RELEASE:-}
if [ -z "$os_release" ]; then
    os_release=/etc/os-release
    [ -r "$os_release" ] || os_release=/usr/lib/os-release
fi
if [ ! -r "$os_release" ]; then
    echo "apt-sources: cannot read $os_release" >&2
    exit 1
fi
codename=$(sed -n 's/^VERSION_CODENAME=//p' "$os_release" | tr -d "\"'" | tail -1)
if [ -z "$codename" ]; then
    echo "apt-sources: $os_release names no VERSION_CODENAME" >&2
    exit 1
fi

# apt reads sources.list, then the parts in name order, skipping names with
# other suffixes or characters outside [A-Za-z0-9_.-].
set --
for file in "$etc/sources.list" "$etc"/sources.list.d/*; do
    case "${file##*/}" in
        *[!A-Za-z0-9_.-]*) continue ;;
        sources.list | *.list | *.sources) ;;
        *) continue ;;
    esac
    if [ -f "$file" ]; then
        set -- "$@" "$file"
    fi
done
if [ "$#" -eq 0 ]; then
    echo "apt-sources: no sources.list or sources.list.d/*.list|*.sources in $etc" >&2
    exit 1
fi

status=0
awk -v mode="$mode" -v codename="$codename" -v target="$target" '
function reset() {
    split("", field)
    last = ""
}
# One deb entry: URIs, suites and components as space-separated lists;
# signed is a one-line value, or an embedded key as "\n"-led indented lines.
function emit(uris, suites, components, signed,    type, n, s, i, kept, rest) {
    if (mode == "mirror") {
        if (found || !index(" " suites " ", " " codename " "))
            return
        found = 1
        split(uris, s)
        print s[1]
        if (signed ~ /^\/[^ ]*$/)
            print signed
        return
    }
    type = "deb-src"
    if (mode == "deb") {
        type = "deb"
        n = split(suites, s)
        kept = ""
        for (i = 1; i <= n; i++) {
            rest = substr(s[i], length(codename) + 1)
            if (index(s[i], codename) == 1 && (rest == "" || rest ~ /^-/))
                kept = kept " " target rest
        }
        if (kept == "")
            return
        suites = substr(kept, 2)
    }
    if (printed++)
        print ""
    print "Types: " type
    print "URIs: " uris
    print "Suites: " suites
    if (components != "")
        print "Components: " components
    if (signed ~ /^\n/)
        print "Signed-By:" signed
    else if (signed != "")
        print "Signed-By: " signed
}
function words(value,    n, w, i, out) {
    n = split(value, w)
    out = ""
    for (i = 1; i <= n; i++)
        out = out (i > 1 ? " " : "") w[i]
    return out
}
function has_deb(types,    n, t, i) {
    n = split(types, t)
    for (i = 1; i <= n; i++)
        if (t[i] == "deb")
            return 1
    return 0
}
function flush(    enabled, signed) {
    enabled = tolower(words(field["enabled"]))
    if (("types" in field) && has_deb(field["types"]) && words(field["uris"]) != "" &&
        words(field["suites"]) != "" && enabled !~ /^(no|false|off|without|disable|0)$/) {
        signed = field["signed-by"]
        if (signed !~ /BEGIN PGP/)
            signed = words(signed)
        emit(words(field["uris"]), words(field["suites"]), words(field["components"]), signed)
    }
    reset()
}
function one_line(line,    signed, options, end, n, o, i, t, components) {
    sub(/#.*/, "", line)
    n = split(line, t)
    if (n == 0 || t[1] != "deb")
        return
    sub(/^[ \t]*deb[ \t]*/, "", line)
    if (substr(line, 1, 1) == "[") {
        end = index(line, "]")
        if (!end)
            return
        options = substr(line, 2, end - 2)
        line = substr(line, end + 1)
        n = split(options, o)
        for (i = 1; i <= n; i++)
            if (o[i] ~ /^signed-by=/) {
                signed = substr(o[i], 11)
                gsub(/,/, " ", signed)
            }
    }
    n = split(line, t)
    if (n < 2)
        return
    components = ""
    for (i = 3; i <= n; i++)
        components = components (i > 3 ? " " : "") t[i]
    emit(t[1], t[2], components, signed)
}
BEGIN { reset() }
FNR == 1 {
    flush()
    deb822 = FILENAME ~ /\.sources$/
}
!deb822 { one_line($0); next }
/^#/ { next }
/^[ \t]*$/ { flush(); next }
/^[ \t]/ {
    if (last != "")
        field[last] = field[last] "\n" $0
    next
}
{
    colon = index($0, ":")
    if (!colon)
        next
    last = tolower(substr($0, 1, colon - 1))
    value = substr($0, colon + 1)
    sub(/^[ \t]+/, "", value)
    sub(/[ \t]+$/, "", value)
    field[last] = value
}
END {
    flush()
    if (!printed && !found)
        exit 3
}
' "$@" || status=$?
if [ "$status" -eq 3 ]; then
    case "$mode" in
        deb-src) echo "apt-sources: no enabled deb entries in $etc" >&2 ;;
        *) echo "apt-sources: no enabled deb entries for $codename in $etc" >&2 ;;
    esac
fi
exit "$status"
