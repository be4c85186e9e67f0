#!/usr/bin/env bash
# Installs the Debian 12 packages the build and the tests need.
# As root it runs apt-get; otherwise it prints the line to run and fails.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config ccache
  qt6-base-dev qt6-base-dev-tools qt6-svg-dev libgl-dev
  libyaml-cpp-dev nlohmann-json3-dev
  libgtest-dev libgmock-dev googletest
  clang libclang-rt-14-dev clang-format
  wine wine64 mingw-w64
  xvfb xauth x11-utils desktop-file-utils appstream
  dpkg-dev file xdg-utils
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

if [ "$(id -u)" -ne 0 ]; then
  echo "These Debian packages are missing: ${missing[*]}" >&2
  echo "Install them with:" >&2
  echo "  sudo apt-get install -y ${missing[*]}" >&2
  exit 1
fi

export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq --no-install-recommends "${missing[@]}"
