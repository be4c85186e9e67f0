#!/usr/bin/env bash
# The try-it command: builds the programs, lays the sample game installation
# out as a Wine prefix in build/demo-prefix (afresh each time) and starts
# Loadwise on it, or varnopts when asked:
#
#   scripts/try.sh             Loadwise, the multiplayer kit selector
#   scripts/try.sh varnopts    varnopts, the VARN options and installer
#
# Without a display the window is drawn offscreen and saved as a screenshot.
set -euo pipefail
cd "$(dirname "$0")/.."

usage() {
    echo "Usage: $0 [loadwise|varnopts]" >&2
}

if [ $# -gt 1 ]; then
    usage
    exit 2
fi
case "${1:-loadwise}" in
    loadwise | Loadwise) name=loadwise target=loadwise program=build/loadwise/loadwise ;;
    varnopts) name=varnopts target=varnopts program=build/varnopts/varnopts ;;
    *)
        usage
        exit 2
        ;;
esac

scripts/install-deps.sh

export CCACHE_DIR="${CCACHE_DIR:-$PWD/.cache/ccache}"
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DLW_BUILD_DEMO=ON
cmake --build build -j "$(nproc)" --target "$target" demo_screenshot

# The programs change the installation (Save, the mouse sensitivity), so
# every run starts from the sample as it is in demo/.
prefix=$PWD/build/demo-prefix
rm -rf -- "$prefix"
scripts/make-demo-prefix.sh "$prefix"
export WINEPREFIX=$prefix

if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
    echo "Starting $target on the sample installation (WINEPREFIX=$prefix)"
    exec "$program"
fi

screenshot=$PWD/build/screenshots/$name.png
mkdir -p "$(dirname "$screenshot")"
QT_QPA_PLATFORM=offscreen build/demo/demo_screenshot "$name" "$screenshot" >/dev/null
echo "No display (DISPLAY and WAYLAND_DISPLAY are empty): $target was drawn offscreen."
echo "Screenshot: $screenshot"
