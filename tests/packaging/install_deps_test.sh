#!/usr/bin/env bash
# install_deps_test.sh SOURCE-FOLDER: runs scripts/install-deps.sh with
# stand-in package tools on the PATH (dpkg-query, apt-get, dnf, pacman,
# zypper, id, and a cmake that reports what it does not find) and checks
# what it decides on each distribution: which packages it names or installs,
# and that it fails only when something the build needs is missing.
set -euo pipefail
script=$(cd "$1" && pwd)/scripts/install-deps.sh
work=$(mktemp -d "${TMPDIR:-/tmp}/lw-deps-test-XXXXXX")
trap 'rm -rf "$work"' EXIT
failures=0

# Each row: tools|hidden commands|arguments|exit status|text expected ("" none)
#   tools: dpkg (with DPKG_MISSING=...), apt, dnf, pacman, zypper,
#          user or root (what id -u says), CMAKE_MISSING=... (what the stand-in cmake does
#          not find; without it the real cmake checks this machine)
rows=(
    "dpkg user|||0|"
    "dpkg user DPKG_MISSING=qt6-base-dev|||1|sudo apt-get install -y qt6-base-dev"
    "dpkg user DPKG_MISSING=libgtest-dev|||0|"
    "dpkg user DPKG_MISSING=libgtest-dev||--tests|1|sudo apt-get install -y libgtest-dev"
    "dpkg user DPKG_MISSING=wine|||0|Not installed (the programs build without them): wine"
    "dpkg root apt DPKG_MISSING=wine,qt6-base-dev|||0|apt-get install -y -qq --no-install-recommends qt6-base-dev wine"
    "dnf user CMAKE_MISSING=qt6,yaml-cpp|||1|sudo dnf install qt6-qtbase-devel mesa-libGL-devel yaml-cpp-devel"
    "pacman user|||0|"
    "pacman user||--tests|0|"
    "pacman user|wine||0|Not found (the programs build without it): Wine"
    "pacman user|Xvfb|--tests|1|sudo pacman -S --needed xorg-server-xvfb"
    "zypper user CMAKE_MISSING=nlohmann-json,gtest||--tests|1|sudo zypper install nlohmann_json-devel gtest gmock"
    "user CMAKE_MISSING=compiler|||1|a C++20 compiler"
)

# Every command of this machine but the package tools and those a row hides,
# which each row links again unless it hides them.
hideable=(wine Xvfb)
mkdir "$work/system"
for command in /usr/bin/* /usr/sbin/*; do
    name=${command##*/}
    case " dpkg dpkg-query apt-get dnf pacman zypper id cmake ${hideable[*]} " in
        *" $name "*) continue ;;
    esac
    [ -e "$work/system/$name" ] || ln -s "$command" "$work/system/$name"
done

for row in "${rows[@]}"; do
    IFS='|' read -r tools hidden arguments expected_status expected_text <<<"$row"
    rm -rf "$work/bin" "$work/log" && mkdir "$work/bin"
    for name in "${hideable[@]}" id cmake; do
        case " $hidden " in *" $name "*) continue ;; esac
        path=$(command -v "$name") && ln -s "$path" "$work/bin/$name"
    done
    environment=(PATH="$work/bin:$work/system" LOG="$work/log" HOME="$work" TMPDIR="$work")
    # standin NAME TEXT: the command NAME is a script, never written through
    # the link to the machine's own command.
    standin() { rm -f "$work/bin/$1" && printf '%s\n' "$2" >"$work/bin/$1" && chmod +x "$work/bin/$1"; }
    for tool in $tools; do
        case "$tool" in
            dpkg) standin dpkg-query '#!/bin/sh
eval "last=\${$#}"
case ",$DPKG_MISSING," in *",$last,"*) exit 1 ;; esac
echo "install ok installed"' ;;
            apt) standin apt-get '#!/bin/sh
echo "apt-get $*" >>"$LOG"' ;;
            dnf | pacman | zypper) standin "$tool" "#!/bin/sh
echo '$tool was run' >>\"\$LOG\"
exit 1" ;;
            user) standin id '#!/bin/sh
echo 1000' ;;
            root) standin id '#!/bin/sh
echo 0' ;;
            DPKG_MISSING=*) environment+=("$tool") ;;
            CMAKE_MISSING=*)
                environment+=("$tool")
                standin cmake '#!/bin/sh
echo "$CMAKE_MISSING" | tr , "\n" | sed "s/^/-- missing: /"'
                ;;
        esac
    done
    status=0
    env -i "${environment[@]}" /bin/bash "$script" $arguments >"$work/out" 2>&1 || status=$?
    [ -f "$work/log" ] && cat "$work/log" >>"$work/out"
    if [ "$status" != "$expected_status" ] ||
        { [ -n "$expected_text" ] && ! grep -qF -- "$expected_text" "$work/out"; } ||
        grep -q ' was run$' "$work/out"; then
        echo "FAIL: [$row] ended with $status and said:" >&2
        sed 's/^/    /' "$work/out" >&2
        failures=$((failures + 1))
    fi
done
[ $failures -eq 0 ] || exit 1
echo "install-deps.sh chose right in all ${#rows[@]} cases"
