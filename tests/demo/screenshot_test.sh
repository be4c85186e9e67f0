#!/usr/bin/env bash
# screenshot_test.sh TOOL SOURCE_DIR ARTIFACTS: the screenshot tool draws both
# windows on the sample installation as the try-it command does without a
# display (Loadwise also at twice the scale, both with a dark palette), and
# no window shows a message ("caption: text" on standard error).
set -euo pipefail
tool=$1 artifacts=$3
mkdir -p "$artifacts"
work=$(mktemp -d)
trap 'rm -rf -- "$work"' EXIT
"$2/scripts/make-demo-prefix.sh" "$work/prefix" >/dev/null
export WINEPREFIX=$work/prefix QT_QPA_PLATFORM=offscreen

check() { # check PICTURE TAB TOOL-ARGUMENTS...
    if ! "$tool" "${@:3}" "$artifacts/$1" $2 >/dev/null 2>"$work/stderr" ||
        grep -E '^(Loadwise|VARN MOD Options|VARN Install Aborted):' "$work/stderr"; then
        cat "$work/stderr" >&2
        echo "demo_screenshot ${*:3} failed or showed a message" >&2
        exit 1
    fi
}
check loadwise.png 2 loadwise
QT_SCALE_FACTOR=2 check loadwise-2x.png 2 loadwise
check loadwise-dark.png 2 --dark loadwise
check varnopts.png "" varnopts
check varnopts-dark.png "" --dark varnopts
