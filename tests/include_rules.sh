#!/bin/sh
# The rooms keep to their rules: game/ and input/ include no GL, GLUT or
# platform/ header, so they build and test without a display; only platform/
# includes the window system's headers; glyphs/, which the renderer builds
# on, includes no other room's header nor GL's; and only the glyph tool
# (glyphs/bake.cpp), run when the game is built, includes the fonts' or the
# text converter's: the game looks up no font. Prints every include that
# breaks a rule.
#   include_rules.sh SOURCE_DIR
set -eu
cd "$1"
# Deleted files that git still lists are left out.
sources=$({ git ls-files --cached --others --exclude-standard '*.cpp' '*.h' '*.c' 2>/dev/null ||
    find . -path './build*' -prune -o -type f \( -name '*.cpp' -o -name '*.h' -o -name '*.c' \) -print; } |
    while read -r file; do [ ! -f "$file" ] || echo "$file"; done)
include='^[[:space:]]*#[[:space:]]*include[[:space:]]*'

broken=0
# The sources that grep ARGS... picks by their path break RULE with any
# include that matches PATTERN.
# shellcheck disable=SC2086
forbid() {
    rule=$1 pattern=$2
    shift 2
    files=$(printf '%s\n' $sources | grep "$@") || return 0
    if found=$(grep -n -E "$include$pattern" $files); then
        printf '%s\n' "$found" | sed "s|\$|    ($rule)|"
        broken=1
    fi
}

forbid "game/ and input/ stay free of GL, GLUT and the platform" \
    '[<"](GL|GLUT|OpenGL|platform)/' -E '^(\./)?(game|input)/'
forbid "only platform/ talks to the window system" \
    '([<"](X11|xcb)/|[<"](windows|wingdi|winuser)\.h|[<"]GL/(glx|wgl))' -v -E '^(\./)?platform/'
forbid "glyphs/ stands below the renderer and the game: no GL and none of their headers" \
    '[<"](GL|GLUT|OpenGL|app|game|input|platform|render|tests)/' -E '^(\./)?glyphs/'
forbid "the game carries its glyphs: only the glyph tool uses fonts and converters" \
    '([<"](freetype|fontconfig)/|[<"](ft2build|iconv)\.h|FT_[A-Z_]+_H)' -v -E '^(\./)?glyphs/bake\.cpp$'
exit "$broken"
