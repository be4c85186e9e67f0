#!/usr/bin/env bash
# screenshot_test.sh TOOL SOURCE_DIR ARTIFACTS: the screenshot tool draws both
# windows on the sample installation as the try-it command does without a
# display (Loadwise also at twice the scale and with a dark palette), and
# neither window shows a message. The pictures are kept in ARTIFACTS.
set -euo pipefail
tool=$1 artifacts=$3
mkdir -p "$artifacts"
work=$(mktemp -d)
trap 'rm -rf -- "$work"' EXIT
"$2/scripts/make-demo-prefix.sh" "$work/prefix" >/dev/null
export WINEPREFIX=$work/prefix QT_QPA_PLATFORM=offscreen

# check PICTURE ARGUMENTS...: messages go to standard error as "caption: text".
check() {
    if ! "$tool" "${@:2}" "$1" "${tab[@]}" >/dev/null 2>"$work/stderr" ||
        grep -E '^(Loadwise|VARN MOD Options|VARN Install Aborted):' "$work/stderr" ||
        [ "$(head -c 4 "$1" | od -An -tx1 | tr -d ' \n')" != 89504e47 ]; then
        cat "$work/stderr" >&2
        echo "demo_screenshot ${*:2} failed or showed a message" >&2
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
