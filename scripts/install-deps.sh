#!/usr/bin/env bash
# Checks that what building and running the programs needs is installed, and
# with --tests also what only the tests need.
#
#   scripts/install-deps.sh            to build and run (scripts/try.sh)
#   scripts/install-deps.sh --tests    and to run every test (scripts/test.sh)
#
# On Debian and Ubuntu (dpkg) it asks dpkg which packages are missing; as
# root it installs them with apt-get, otherwise it prints the line to run.
# Elsewhere (Fedora, Arch, SteamOS, openSUSE) it asks CMake and the PATH what
# the build finds, names the distribution's packages for what is missing
# (dnf, pacman or zypper) and fails only when something is missing: a build
# whose tools are all there goes on, however they were installed.
set -euo pipefail

tests=false
case "${1:-}" in
    "") ;;
    --tests) tests=true ;;
    *)
        echo "Usage: $0 [--tests]" >&2
        exit 2
        ;;
esac

# --- Debian ------------------------------------------------------------------
debian_build=(
    build-essential cmake ninja-build pkg-config ccache file
    qt6-base-dev qt6-base-dev-tools libgl-dev libfontconfig-dev libyaml-cpp-dev nlohmann-json3-dev
)
# Without these the programs build: no manual pages, nothing run with Wine.
debian_optional=(help2man wine xdg-utils)
debian_tests=(
    libgtest-dev libgmock-dev googletest wine64 mingw-w64
    xvfb xauth x11-utils desktop-file-utils appstream lintian
    clang libclang-rt-14-dev clang-format
)

debian_missing() {
    local p
    for p in "$@"; do
        if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
            echo "$p"
        fi
    done
}

install_debian() {
    local wanted=("${debian_build[@]}") missing optional
    if $tests; then wanted+=("${debian_tests[@]}"); fi
    mapfile -t missing < <(debian_missing "${wanted[@]}")
    mapfile -t optional < <(debian_missing "${debian_optional[@]}")
    if [ "$(id -u)" -ne 0 ]; then
        [ ${#optional[@]} -eq 0 ] ||
            echo "Not installed (the programs build without them): ${optional[*]}" >&2
        [ ${#missing[@]} -eq 0 ] && return 0
        missing+=("${optional[@]}")
        echo "These Debian packages are missing: ${missing[*]}" >&2
        echo "Install them with:" >&2
        echo "  sudo apt-get install -y ${missing[*]}" >&2
        return 1
    fi
    missing+=("${optional[@]}")
    [ ${#missing[@]} -eq 0 ] && return 0
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

# --- other distributions -----------------------------------------------------
# What the build, running and the tests need, each with its packages for
# dnf (Fedora), pacman (Arch, SteamOS) and zypper (openSUSE); "-" where the
# package above already brings it.
#   need|what it is|dnf|pacman|zypper
needs_build=(
    "compiler|a C++20 compiler|gcc-c++|gcc|gcc-c++"
    "cmake|CMake 3.20 or later|cmake|cmake|cmake"
    "ninja|Ninja|ninja-build|ninja|ninja"
    "pkg-config|pkg-config|pkgconf-pkg-config|pkgconf|pkgconf-pkg-config"
    "qt6|Qt 6.2 or later: Widgets (and OpenGL headers)|qt6-qtbase-devel mesa-libGL-devel|qt6-base|qt6-base-devel Mesa-libGL-devel"
    "fontconfig|fontconfig|fontconfig-devel|fontconfig|fontconfig-devel"
    "yaml-cpp|yaml-cpp 0.6 or later|yaml-cpp-devel|yaml-cpp|yaml-cpp-devel"
    "nlohmann-json|nlohmann-json 3.2 or later|json-devel|nlohmann-json|nlohmann_json-devel"
)
# Without these the build still succeeds: no manual pages, no Wine programs.
needs_optional=(
    "help2man|help2man (the manual pages)|help2man|help2man|help2man"
    "wine|Wine (to run the game and the modification's packages)|wine|wine|wine"
    "xdg-open|xdg-utils (to open the modification's read-me)|xdg-utils|xdg-utils|xdg-utils"
)
needs_tests=(
    "gtest|GoogleTest and GoogleMock|gtest-devel gmock-devel|gtest|gtest gmock"
    "qt6-test|Qt 6 Test|-|-|qt6-test-devel"
    "Xvfb|Xvfb|xorg-x11-server-Xvfb|xorg-server-xvfb|xorg-x11-server-Xvfb"
    "xwininfo|xwininfo|xwininfo|xorg-xwininfo|xwininfo"
    "desktop-file-validate|desktop-file-utils|desktop-file-utils|desktop-file-utils|desktop-file-utils"
    "appstreamcli|AppStream|appstream|appstream|AppStream"
    "x86_64-w64-mingw32-gcc|MinGW-w64 (a stand-in Windows program)|mingw64-gcc|mingw-w64-gcc|mingw64-cross-gcc"
)

# Prints, one a line, the needs of the build (and with "tests" the tests'
# libraries) that CMake does not find.
cmake_missing() {
    local probe status=0
    probe=$(mktemp -d "${TMPDIR:-/tmp}/r6tools-deps-XXXXXX")
    cat >"$probe/CMakeLists.txt" <<'EOF'
cmake_minimum_required(VERSION 3.20)
project(r6tools_dependencies LANGUAGES NONE)
include(CheckLanguage)
check_language(CXX)
if(NOT CMAKE_CXX_COMPILER)
  message(STATUS "missing: compiler")
  return()
endif()
enable_language(CXX)
find_program(NINJA NAMES ninja ninja-build)
find_program(PKG_CONFIG pkg-config)
foreach(need NINJA:ninja PKG_CONFIG:pkg-config)
  string(REPLACE ":" ";" need ${need})
  list(GET need 0 variable)
  list(GET need 1 name)
  if(NOT ${variable})
    message(STATUS "missing: ${name}")
  endif()
endforeach()
find_package(Qt6 6.2 QUIET COMPONENTS Widgets)
if(NOT Qt6Widgets_FOUND)
  message(STATUS "missing: qt6")
endif()
find_package(Fontconfig QUIET)
if(NOT Fontconfig_FOUND)
  message(STATUS "missing: fontconfig")
endif()
find_package(yaml-cpp 0.6 QUIET)
if(NOT yaml-cpp_FOUND)
  message(STATUS "missing: yaml-cpp")
endif()
find_package(nlohmann_json 3.2 QUIET)
if(NOT nlohmann_json_FOUND)
  message(STATUS "missing: nlohmann-json")
endif()
if(TESTS)
  find_package(GTest QUIET)
  if(NOT GTest_FOUND)
    message(STATUS "missing: gtest")
  endif()
  find_package(Qt6 QUIET COMPONENTS Test)
  if(NOT Qt6Test_FOUND)
    message(STATUS "missing: qt6-test")
  endif()
endif()
EOF
    cmake -S "$probe" -B "$probe/build" -DTESTS="$tests" >"$probe/log" 2>&1 || status=$?
    sed -n 's/^-- missing: //p' "$probe/log"
    if [ $status -ne 0 ] && ! grep -q '^-- missing: ' "$probe/log"; then
        echo "$0: CMake could not check the build's libraries:" >&2
        tail -n 20 "$probe/log" >&2
        echo compiler  # a failed probe is most often a broken compiler
    fi
    rm -rf "$probe"
}

# The names in the table's column for this package manager (3 dnf, 4 pacman,
# 5 zypper; 0 none: the need's description).
packages_for() {
    local column=$1 entry=$2
    if [ "$column" -eq 0 ]; then
        cut -d'|' -f2 <<<"$entry"
    else
        cut -d'|' -f"$column" <<<"$entry"
    fi
}

check_elsewhere() {
    local manager="" column=0 entry name found missing=() optional=()
    for manager in dnf pacman zypper ""; do
        [ -n "$manager" ] && command -v "$manager" >/dev/null && break
    done
    case "$manager" in
        dnf) column=3 ;;
        pacman) column=4 ;;
        zypper) column=5 ;;
    esac

    local cmake_says=""
    if command -v cmake >/dev/null; then
        cmake_says=$(cmake_missing)
    fi
    for entry in "${needs_build[@]}" "${needs_optional[@]}"; do
        name=${entry%%|*}
        case "$name" in
            cmake) command -v cmake >/dev/null && found=true || found=false ;;
            compiler | ninja | pkg-config | qt6 | fontconfig | yaml-cpp | nlohmann-json)
                # Without CMake nothing else can be checked: all is named.
                if command -v cmake >/dev/null && ! grep -qx "$name" <<<"$cmake_says"; then
                    found=true
                else
                    found=false
                fi
                ;;
            *) command -v "$name" >/dev/null && found=true || found=false ;;
        esac
        $found && continue
        if [[ " ${needs_optional[*]} " == *"$entry"* ]]; then
            optional+=("$entry")
        else
            missing+=("$entry")
        fi
    done
    if $tests; then
        for entry in "${needs_tests[@]}"; do
            name=${entry%%|*}
            case "$name" in
                gtest | qt6-test) grep -qx "$name" <<<"$cmake_says" && found=false || found=true ;;
                *) command -v "$name" >/dev/null && found=true || found=false ;;
            esac
            $found || missing+=("$entry")
        done
    fi

    local packages=() words words_list
    for entry in "${optional[@]}"; do
        echo "Not found (the programs build without it): $(packages_for 0 "$entry")" >&2
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Not found, and needed:" >&2
    for entry in "${missing[@]}"; do
        words=$(packages_for "$column" "$entry")
        echo "  $(packages_for 0 "$entry")${manager:+ ($manager: $words)}" >&2
        if [ "$words" != - ]; then
            read -r -a words_list <<<"$words"
            packages+=("${words_list[@]}")
        fi
    done
    for entry in "${optional[@]}"; do
        [ "$column" -eq 0 ] && continue
        read -r -a words_list <<<"$(packages_for "$column" "$entry")"
        packages+=("${words_list[@]}")
    done
    case "$manager" in
        dnf) echo "Install them with:  sudo dnf install ${packages[*]}" >&2 ;;
        pacman) echo "Install them with:  sudo pacman -S --needed ${packages[*]}" >&2 ;;
        zypper) echo "Install them with:  sudo zypper install ${packages[*]}" >&2 ;;
        *) echo "Install them with your distribution's package manager." >&2 ;;
    esac
    return 1
}

if command -v dpkg-query >/dev/null; then
    install_debian
else
    check_elsewhere
fi
