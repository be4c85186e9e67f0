#!/usr/bin/env bash
# deb_package_test.sh BUILD-FOLDER SOURCE-FOLDER: builds the Debian package,
# checks what it holds and depends on, that lintian finds nothing to report,
# that the package, the metainfo, the changelog, the manual pages and both
# programs' --version give one version, validates its desktop entries and
# metainfo, and starts both programs from it as the desktop menu does, on the
# sample installation under a private X server: each must show its main window
# and nothing else (no message box, nothing on stderr but its start line).
set -euo pipefail
build=$(cd "$1" && pwd) source=$(cd "$2" && pwd)
work=$(mktemp -d "${TMPDIR:-/tmp}/lw-deb-test-XXXXXX")
pids=()
trap 'kill "${pids[@]}" 2>/dev/null || true; wait 2>/dev/null || true; rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

cpack --config "$build/CPackConfig.cmake" -G DEB -B "$work/cpack" >"$work/cpack.log" 2>&1 ||
    { cat "$work/cpack.log" >&2; fail "cpack could not build the package"; }
deb=$(echo "$work"/cpack/*.deb)
depends=$(dpkg-deb -f "$deb" Depends) || fail "cpack made no single .deb: $deb"
for package in libqt6widgets6 libqt6gui6 libqt6core6 wine xdg-utils; do
    grep -Eq "(^|, )$package( |,|$)" <<<"$depends" || fail "the package does not depend on $package"
done

findings=$(lintian --fail-on error,warning "$deb" 2>/dev/null) && [ -z "$findings" ] ||
    fail "lintian: $findings"

root=$work/root
dpkg-deb -x "$deb" "$root"
expected=(usr/bin/Loadwise usr/bin/loadwise usr/bin/varnopts
          usr/share/doc/r6tools/changelog.gz usr/share/doc/r6tools/copyright
          usr/share/man/man1/Loadwise.1.gz usr/share/man/man1/loadwise.1.gz
          usr/share/man/man1/varnopts.1.gz)
version=$(dpkg-deb -f "$deb" Version)
said=$(zcat "$root/usr/share/doc/r6tools/changelog.gz" | sed -n '1s/^r6tools (\([^)]*\)).*/\1/p')
[ "$said" = "$version" ] || fail "the changelog's newest entry is $said, the package $version"
for id in io.github.r6tools.Loadwise io.github.r6tools.varnopts; do
    expected+=("usr/share/applications/$id.desktop" "usr/share/metainfo/$id.metainfo.xml"
               "usr/share/icons/hicolor/scalable/apps/$id.svg")
    for s in 16 22 24 32 48 64 128 256; do expected+=("usr/share/icons/hicolor/${s}x$s/apps/$id.png"); done
    entry=$root/usr/share/applications/$id.desktop
    hints=$(desktop-file-validate "$entry" 2>&1) && [ -z "$hints" ] || fail "$id.desktop: $hints"
    program=${id##*.}
    for line in "Exec=${program,,}" "Categories=Game;" "Icon=$id"; do
        grep -qx "$line" "$entry" || fail "$id.desktop lacks $line"
    done
    appstreamcli validate --no-net --pedantic "$root/usr/share/metainfo/$id.metainfo.xml" >&2 ||
        fail "$id.metainfo.xml is invalid"
    said=$(sed -n 's/.*<release version="\([^"]*\)".*/\1/p' \
        "$root/usr/share/metainfo/$id.metainfo.xml" | head -n 1)
    [ "$said" = "$version" ] || fail "$id.metainfo.xml's release is $said, the package $version"
    said=$("$root/usr/bin/${program,,}" --version)
    [ "$said" = "${program,,} $version" ] || fail "${program,,} --version says $said, the package $version"
    page=$(zcat "$root/usr/share/man/man1/${program,,}.1.gz")
    grep -q "^\.TH .*\"${program,,} $version\"" <<<"$page" ||
        fail "the manual page of ${program,,} is not of version $version"
    grep -qF "kept in ~/.config/r6tools/prefix" <<<"$page" && ! grep -qF "$HOME/" <<<"$page" ||
        fail "the manual page of ${program,,} names the home of the package's builder"
done
held=$(cd "$root" && find . -type f -o -type l | sed 's|^\./||' | sort)
[ "$held" = "$(printf '%s\n' "${expected[@]}" | sort)" ] || fail "the package holds: $held"
[ "$(readlink "$root/usr/bin/Loadwise")" = loadwise ] || fail "Loadwise is no link to loadwise"
[ "$(readlink "$root/usr/share/man/man1/Loadwise.1.gz")" = loadwise.1.gz ] ||
    fail "Loadwise's manual page is no link to loadwise's"

Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$work/display" 2>&1 &
pids+=($!)
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || fail "Xvfb did not start"
display=:$(head -n 1 "$work/display")
"$source/scripts/make-demo-prefix.sh" "$work/prefix" >/dev/null
mkdir -p -m 0700 "$work/home" "$work/runtime"

# start_from_menu ID TITLE: starts the program as its desktop entry says and
# checks that the windows of the entry's window class are just one, titled TITLE.
start_from_menu() {
    local entry=$root/usr/share/applications/$1.desktop exec_line wm_class pid seen=
    exec_line=$(sed -n 's/^Exec=//p' "$entry")
    wm_class=$(sed -n 's/^StartupWMClass=//p' "$entry")
    env -i PATH="$root/usr/bin:/usr/bin:/bin" DISPLAY="$display" XDG_RUNTIME_DIR="$work/runtime" \
        LANG=C.UTF-8 HOME="$work/home" WINEPREFIX="$work/prefix" $exec_line 2>"$work/stderr" &
    pid=$!
    pids+=($pid)
    windows() { # the titles of the windows of the entry's class
        DISPLAY=$display xwininfo -root -children |
            sed -n "s/^ *0x[0-9a-f]* \"\(.*\)\": (\"[^\"]*\" \"$wm_class\").*/\1/p"
    }
    for _ in $(seq 600); do
        kill -0 $pid 2>/dev/null || fail "$exec_line ended before its window appeared: $(cat "$work/stderr")"
        [ -n "$(windows)" ] && break
        sleep 0.1
    done
    sleep 1  # whatever else it shows at start-up shows by now too
    seen=$(windows)
    [ "$seen" = "$2" ] || fail "$exec_line shows [$seen] instead of just its window [$2]"
    kill -0 $pid 2>/dev/null || fail "$exec_line ended after showing its window"
    [ "$(grep -c . "$work/stderr")" = 1 ] && grep -q "^$exec_line: prefix " "$work/stderr" ||
        fail "$exec_line wrote other than its start line to stderr: $(cat "$work/stderr")"
    kill $pid
    echo "$exec_line: its window \"$2\" appeared"
}
start_from_menu io.github.r6tools.Loadwise "Loadwise for Rainbow Six : Eagle Watch"
start_from_menu io.github.r6tools.varnopts "VARN MOD Options"
echo "the package installs and both programs start from it"
