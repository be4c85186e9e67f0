#!/usr/bin/env bash
# Builds the Debian package from a built tree, unpacks it into a temporary
# root and starts both programs from there, the way the desktop menu does,
# on the sample installation: once with WINEPREFIX set, once without it and
# the prefix where Lutris keeps one in a fake home. Each program must reach
# its main window (under a private X server) and nothing else: no message
# box, nothing on stderr but its start line, still running.
#
# Usage: deb_package_test.sh BUILD-FOLDER SOURCE-FOLDER
set -euo pipefail

build=$(cd "$1" && pwd)
source=$(cd "$2" && pwd)
# How long a program may take to show its window before it counts as hung.
window_deadline_seconds=60

work=$(mktemp -d "${TMPDIR:-/tmp}/lw-deb-test-XXXXXX")
xvfb_pid=
program_pid=
cleanup() {
    [ -n "$program_pid" ] && kill "$program_pid" 2>/dev/null || true
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
    wait 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# --- the package -------------------------------------------------------------
cpack --config "$build/CPackConfig.cmake" -G DEB -B "$work/cpack" >"$work/cpack.log" 2>&1 ||
    { cat "$work/cpack.log" >&2; fail "cpack could not build the package"; }
debs=("$work"/cpack/*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || fail "cpack made no single .deb: ${debs[*]}"
deb=${debs[0]}
echo "package: $(basename "$deb")"

depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
for package in libqt6widgets6 libqt6gui6 libqt6core6 wine xdg-utils; do
    grep -Eq "(^|, )$package( |,|$)" <<<"$depends" || fail "the package does not depend on $package"
done

root=$work/root
dpkg-deb -x "$deb" "$root"
ids=(io.github.r6tools.Loadwise io.github.r6tools.varnopts)
expected_files=(usr/bin/loadwise usr/bin/varnopts)
for id in "${ids[@]}"; do
    expected_files+=("usr/share/applications/$id.desktop" "usr/share/metainfo/$id.metainfo.xml"
                     "usr/share/icons/hicolor/scalable/apps/$id.svg")
    for size in 16 22 24 32 48 64 128 256; do
        expected_files+=("usr/share/icons/hicolor/${size}x$size/apps/$id.png")
    done
done
for file in "${expected_files[@]}"; do
    [ -f "$root/$file" ] || fail "the package lacks /$file"
done
[ -x "$root/usr/bin/loadwise" ] && [ -x "$root/usr/bin/varnopts" ] || fail "the programs are not executable"
[ "$(readlink "$root/usr/bin/Loadwise")" = loadwise ] || fail "Loadwise is no link to loadwise"
unexpected=$(cd "$root" && find . -type f | sed 's|^\./||' | sort |
    grep -Fvx -f <(printf '%s\n' "${expected_files[@]}" | sort) || true)
[ -z "$unexpected" ] || fail "the package holds files it should not: $unexpected"
for id in "${ids[@]}"; do
    desktop-file-validate "$root/usr/share/applications/$id.desktop" ||
        fail "$id.desktop as installed does not validate"
    appstreamcli validate --no-net --pedantic "$root/usr/share/metainfo/$id.metainfo.xml" >"$work/as.log" 2>&1 ||
        { cat "$work/as.log" >&2; fail "$id.metainfo.xml as installed does not validate"; }
done

# --- a private X server ------------------------------------------------------
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!
for _ in $(seq 100); do
    [ -s "$work/display" ] && break
    sleep 0.1
done
[ -s "$work/display" ] || { cat "$work/xvfb.log" >&2; fail "Xvfb did not start"; }
display=:$(head -n 1 "$work/display")

# The value of a key of a desktop entry's [Desktop Entry] group.
desktop_value() {
    sed -n "/^\[Desktop Entry\]/,/^\[/s/^$2=//p" "$1" | head -n 1
}

# The top-level windows of a window class: "title" per line.
windows_of_class() {
    DISPLAY=$display xwininfo -root -children 2>/dev/null |
        sed -n "s/^ *0x[0-9a-f]* \"\(.*\)\": (\"[^\"]*\" \"$1\").*/\1/p"
}

# start_from_menu ID TITLE ENV...: starts the program as the desktop entry
# says, with the given environment, and waits until its window, titled
# TITLE, is the one window of the entry's window class.
start_from_menu() {
    local id=$1 title=$2
    shift 2
    local entry=$root/usr/share/applications/$id.desktop
    local exec_line wm_class
    exec_line=$(desktop_value "$entry" Exec)
    wm_class=$(desktop_value "$entry" StartupWMClass)
    [ -n "$exec_line" ] && [ -n "$wm_class" ] || fail "$id.desktop has no Exec or StartupWMClass"
    local runtime=$work/runtime
    mkdir -p -m 0700 "$runtime"

    echo "starting $exec_line ($*)"
    env -i PATH="$root/usr/bin:/usr/bin:/bin" DISPLAY="$display" XDG_RUNTIME_DIR="$runtime" \
        LANG=C.UTF-8 "$@" $exec_line 2>"$work/stderr" &
    program_pid=$!

    local seen=
    for _ in $(seq $((window_deadline_seconds * 10))); do
        kill -0 "$program_pid" 2>/dev/null || break
        seen=$(windows_of_class "$wm_class")
        [ -n "$seen" ] && break
        sleep 0.1
    done
    if ! kill -0 "$program_pid" 2>/dev/null; then
        wait "$program_pid" && status=0 || status=$?
        program_pid=
        cat "$work/stderr" >&2
        fail "$exec_line ended (status $status) before its window appeared"
    fi
    [ -n "$seen" ] || fail "$exec_line showed no window within $window_deadline_seconds seconds"
    # Whatever else it shows at start-up (a message box) shows by then too.
    sleep 1
    seen=$(windows_of_class "$wm_class")
    [ "$seen" = "$title" ] || fail "$exec_line shows [$seen] instead of just its window [$title]"
    kill -0 "$program_pid" 2>/dev/null || fail "$exec_line ended after showing its window"
    # One line naming the prefix and the Wine, nothing else.
    [ "$(grep -c . "$work/stderr")" = 1 ] && grep -q "^$exec_line: prefix " "$work/stderr" ||
        { cat "$work/stderr" >&2; fail "$exec_line wrote other than its start line to stderr"; }
    kill "$program_pid"
    wait "$program_pid" 2>/dev/null || true
    program_pid=
    echo "  its window \"$title\" appeared"
}

# --- the programs on the sample installation -----------------------------------
"$source/scripts/make-demo-prefix.sh" "$work/prefix" >/dev/null
mkdir -p "$work/home"
start_from_menu io.github.r6tools.Loadwise "Loadwise for Rainbow Six : Eagle Watch" \
    HOME="$work/home" WINEPREFIX="$work/prefix"
start_from_menu io.github.r6tools.varnopts "VARN MOD Options" \
    HOME="$work/home" WINEPREFIX="$work/prefix"

# Without WINEPREFIX, in a home where ~/.wine lacks the game and a Lutris
# prefix holds it.
lutris_home=$work/lutris-home
mkdir -p "$lutris_home/.wine/drive_c" "$lutris_home/Games"
printf 'WINE REGISTRY Version 2\n#arch=win64\n' >"$lutris_home/.wine/system.reg"
"$source/scripts/make-demo-prefix.sh" "$lutris_home/Games/rainbow-six" >/dev/null
start_from_menu io.github.r6tools.Loadwise "Loadwise for Rainbow Six : Eagle Watch" \
    HOME="$lutris_home"
start_from_menu io.github.r6tools.varnopts "VARN MOD Options" HOME="$lutris_home"

echo "the package installs and both programs start from it"
