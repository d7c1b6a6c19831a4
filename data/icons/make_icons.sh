#!/bin/sh
# Remakes the shipped icons (data/icons/**.png, data/icons/LICENSES.md and
# data/icons.qrc). Needs, once, the Debian packages breeze-icon-theme,
# fonts-noto-color-emoji and qt6-svg-dev. The build never runs this.
# Usage: data/icons/make_icons.sh [contact-sheet.png]
set -e
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
g++ -std=c++20 -fPIC -O1 "$here/make_icons.cpp" -o "$work/make_icons" \
    $(pkg-config --cflags --libs Qt6Gui Qt6Svg)
QT_QPA_PLATFORM=offscreen "$work/make_icons" "$here/.." "$@"
