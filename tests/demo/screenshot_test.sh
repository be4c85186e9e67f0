#!/usr/bin/env bash
# demo_screenshot TOOL SOURCE_DIR ARTIFACTS: the screenshot tool draws both
# windows on the sample installation, the way the try-it command does without
# a display (Loadwise also at twice the scale and with a dark palette), and
# neither window has anything to complain about. The pictures are kept in
# ARTIFACTS for a look at how the windows come out.
set -euo pipefail
tool=$1
source_dir=$2
artifacts=$3
mkdir -p "$artifacts"

work=$(mktemp -d)
trap 'rm -rf -- "$work"' EXIT
"$source_dir/scripts/make-demo-prefix.sh" "$work/prefix" >/dev/null
export WINEPREFIX=$work/prefix QT_QPA_PLATFORM=offscreen

check() {
    local picture=$1
    shift
    if ! "$tool" "$@" "$picture" "${tab[@]}" >/dev/null 2>"$work/stderr"; then
        echo "demo_screenshot $* failed:" >&2
        cat "$work/stderr" >&2
        exit 1
    fi
    # Messages go to standard error as "caption: text".
    if grep -E '^(Loadwise|VARN MOD Options|VARN Install Aborted):' "$work/stderr" >&2; then
        echo "demo_screenshot $* showed the messages above" >&2
        exit 1
    fi
    if [ "$(head -c 8 "$picture" | od -An -tx1 | tr -d ' \n')" != 89504e470d0a1a0a ]; then
        echo "$picture is not a PNG file" >&2
        exit 1
    fi
}

tab=(2)
check "$artifacts/loadwise.png" loadwise
QT_SCALE_FACTOR=2 check "$artifacts/loadwise-2x.png" loadwise
check "$artifacts/loadwise-dark.png" --dark loadwise
tab=()
check "$artifacts/varnopts.png" varnopts
check "$artifacts/varnopts-dark.png" --dark varnopts
