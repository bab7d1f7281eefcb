#!/bin/sh
# Installs the build into a staging directory laid out as the package is:
#   stage.sh BUILD_DIR STAGE_DIR
set -eu
build=$1
stage=$2
rm -rf "$stage"
DESTDIR="$stage" cmake --install "$build" --prefix /usr >/dev/null
