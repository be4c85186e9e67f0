#!/usr/bin/env bash
# Checks that the Debian package installs on a bare Debian 12 system and
# leaves nothing behind:
#   1. builds the .deb (in build-package/, without the tests);
#   2. makes a minimal Debian 12 system with debootstrap --variant=minbase in
#      a temporary folder;
#   3. installs the package there with apt, which brings in its dependencies;
#   4. runs loadwise and varnopts there with --version (the package's
#      version), and on the sample installation with the offscreen platform:
#      each must say which prefix it uses and keep its window open;
#   5. purges the package and checks that none of its files is left.
# Run as root (debootstrap, chroot). It downloads about a gigabyte from the
# Debian archive (Wine and its libraries), so it is not part of the tests.
#
#   scripts/check-package.sh [MIRROR]     default http://deb.debian.org/debian
set -euo pipefail
cd "$(dirname "$0")/.."
source=$PWD

mirror=${1:-http://deb.debian.org/debian}
suite=bookworm

if [ "$(id -u)" -ne 0 ]; then
    echo "$0: run as root: debootstrap and chroot need it" >&2
    exit 2
fi
for tool in debootstrap cmake cpack dpkg-deb; do
    command -v "$tool" >/dev/null ||
        { echo "$0: $tool is missing (apt-get install debootstrap; scripts/install-deps.sh)" >&2; exit 2; }
done

step() { echo "== $*"; }
fail() { echo "FAIL: $*" >&2; exit 1; }

work=$(mktemp -d "${TMPDIR:-/var/tmp}/r6tools-check-XXXXXX")
root=$work/root
mounted=()
cleanup() {
    local m
    for ((i = ${#mounted[@]} - 1; i >= 0; i--)); do
        m=${mounted[i]}
        umount "$m" 2>/dev/null || umount -l "$m" 2>/dev/null || true
    done
    # Nothing may be removed through a mount that is still there.
    if ! grep -q " $work/" /proc/mounts; then
        rm -rf --one-file-system "$work"
    else
        echo "$0: $work is still mounted; left in place" >&2
    fi
}
trap cleanup EXIT

step "building the package"
export CCACHE_DIR="${CCACHE_DIR:-$source/.cache/ccache}"
cmake -S . -B build-package -G Ninja -DCMAKE_BUILD_TYPE=Release -DLW_BUILD_TESTS=OFF >/dev/null
cmake --build build-package -j "$(nproc)" >/dev/null
cpack --config build-package/CPackConfig.cmake -G DEB -B "$work/cpack" >"$work/cpack.log" 2>&1 ||
    { cat "$work/cpack.log" >&2; fail "cpack could not build the package"; }
deb=$(echo "$work"/cpack/*.deb)
[ -f "$deb" ] || fail "cpack made no single .deb: $deb"
version=$(dpkg-deb -f "$deb" Version)
echo "$(basename "$deb"): version $version, $(du -k "$deb" | cut -f1) KiB"

step "making a minimal Debian 12 system ($suite, minbase) from $mirror"
debootstrap --variant=minbase "$suite" "$root" "$mirror" >"$work/debootstrap.log" 2>&1 ||
    { tail -n 20 "$work/debootstrap.log" >&2; fail "debootstrap failed"; }
echo "$(chroot "$root" dpkg-query -W -f='.\n' | wc -l) packages in the bare system"
for m in proc sys dev dev/pts; do
    mount --bind "/$m" "$root/$m"
    mounted+=("$root/$m")
done
# No service of an installed package may start inside the chroot.
printf '#!/bin/sh\nexit 101\n' >"$root/usr/sbin/policy-rc.d"
chmod 755 "$root/usr/sbin/policy-rc.d"

in_root() { chroot "$root" /usr/bin/env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root \
    LANG=C.UTF-8 DEBIAN_FRONTEND=noninteractive "$@"; }

step "installing the package with apt"
cp "$deb" "$root/tmp/"
before=$(in_root dpkg-query -W -f='${Package}\n' | sort)
in_root apt-get update -qq >"$work/apt.log" 2>&1 || { cat "$work/apt.log" >&2; fail "apt-get update"; }
in_root apt-get install -y -q "/tmp/$(basename "$deb")" >>"$work/apt.log" 2>&1 ||
    { tail -n 30 "$work/apt.log" >&2; fail "apt could not install the package"; }
added=$(comm -13 <(echo "$before") <(in_root dpkg-query -W -f='${Package}\n' | sort) | wc -l)
echo "installed r6tools $(in_root dpkg-query -W -f='${Version}' r6tools) with $((added - 1)) other packages"
in_root dpkg -L r6tools | sort >"$work/files"

step "starting the programs"
for program in loadwise Loadwise varnopts; do
    said=$(in_root "$program" --version) || fail "$program --version failed"
    [ "$said" = "${program,,} $version" ] || fail "$program --version says \"$said\", not $version"
    echo "$program --version: $said"
done
"$source/scripts/make-demo-prefix.sh" "$root/tmp/prefix" >/dev/null
mkdir -p -m 0700 "$root/tmp/home" "$root/tmp/runtime"
for program in loadwise varnopts; do
    # A program that shows its window waits for the user: still running
    # after ten seconds (timeout's 124) is what is expected.
    status=0
    chroot "$root" /usr/bin/env -i PATH=/usr/bin:/bin HOME=/tmp/home LANG=C.UTF-8 \
        XDG_RUNTIME_DIR=/tmp/runtime QT_QPA_PLATFORM=offscreen WINEPREFIX=/tmp/prefix \
        timeout 10 "$program" 2>"$work/stderr" || status=$?
    [ "$status" = 124 ] || fail "$program ended with status $status: $(cat "$work/stderr")"
    grep -q "^$program: prefix /tmp/prefix" "$work/stderr" ||
        fail "$program did not say it uses the sample's prefix: $(cat "$work/stderr")"
    echo "$program: its window stayed open on the sample; on standard error it wrote:"
    sed 's/^/    /' "$work/stderr"
done

step "purging the package"
in_root apt-get purge -y -q r6tools >>"$work/apt.log" 2>&1 ||
    { tail -n 20 "$work/apt.log" >&2; fail "apt could not remove the package"; }
in_root dpkg-query -W r6tools >/dev/null 2>&1 && fail "dpkg still knows r6tools after the purge"
left=()
while IFS= read -r path; do
    # Folders the system shares (/usr/bin, /usr/share/man/man1...) stay;
    # files, links and the package's own folders must be gone.
    if [ -L "$root$path" ] || [ -f "$root$path" ]; then
        left+=("$path")
    elif [ -d "$root$path" ] && ! in_root dpkg-query -S "$path" >/dev/null 2>&1 &&
        [ -z "$(ls -A "$root$path")" ]; then
        left+=("$path/")
    fi
done <"$work/files"
[ ${#left[@]} -eq 0 ] || fail "left after the purge: ${left[*]}"
echo "none of the package's $(grep -c . "$work/files") paths is left"
echo "the package installs on a bare Debian 12 system, both programs start, and it purges clean"
