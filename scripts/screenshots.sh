#!/usr/bin/env bash
# Draws the windows of Loadwise (each tab), varnopts and the prefix chooser
# on the sample game installation and saves them in docs/screenshots/ for
# the README; Loadwise also at twice the scale and with a dark palette.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh

export CCACHE_DIR="${CCACHE_DIR:-$PWD/.cache/ccache}"
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DLW_BUILD_DEMO=ON
cmake --build build -j "$(nproc)" --target demo_screenshot

work=$(mktemp -d)
trap 'rm -rf -- "$work"' EXIT
scripts/make-demo-prefix.sh "$work/prefix" >/dev/null

export WINEPREFIX=$work/prefix QT_QPA_PLATFORM=offscreen QT_SCALE_FACTOR=1
out=docs/screenshots
mkdir -p "$out"
build/demo/demo_screenshot loadwise "$out/loadwise.png" 0
build/demo/demo_screenshot loadwise "$out/loadwise-secondary.png" 1
build/demo/demo_screenshot loadwise "$out/loadwise-special.png" 2
build/demo/demo_screenshot varnopts "$out/varnopts.png"
QT_SCALE_FACTOR=2 build/demo/demo_screenshot loadwise "$out/loadwise-2x.png" 0
build/demo/demo_screenshot --dark loadwise "$out/loadwise-dark.png" 0
build/demo/demo_screenshot --dark varnopts "$out/varnopts-dark.png"

# The prefix chooser: the sample in a Lutris prefix run by a Lutris build,
# and a copy in a Bottles bottle run by the system's Wine.
home=$work/home
scripts/make-demo-prefix.sh "$home/Games/rainbow-six" >/dev/null
mkdir -p "$home/.config/lutris/games" "$home/.local/share/lutris/runners/wine/lutris-GE-Proton8-26-x86_64/bin"
printf 'game:\n  prefix: %s\nwine:\n  version: lutris-GE-Proton8-26-x86_64\n' \
    "$home/Games/rainbow-six" >"$home/.config/lutris/games/rainbow-six-1701234567.yml"
printf '#!/bin/sh\n' >"$home/.local/share/lutris/runners/wine/lutris-GE-Proton8-26-x86_64/bin/wine"
chmod +x "$home/.local/share/lutris/runners/wine/lutris-GE-Proton8-26-x86_64/bin/wine"
scripts/make-demo-prefix.sh "$home/.local/share/bottles/bottles/Rainbow-Six" >/dev/null
printf 'Name: Rainbow Six\nRunner: sys-wine-8.0\n' >"$home/.local/share/bottles/bottles/Rainbow-Six/bottle.yml"
HOME=$home build/demo/demo_screenshot chooser "$out/prefix-chooser.png"
