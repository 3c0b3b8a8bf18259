#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, only when one is
# missing, so a warm machine pays nothing. README.md lists them.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

VH_PACKAGES=(
  cmake ninja-build g++ make dpkg-dev tcl nasm
  g++-mingw-w64-x86-64-posix mingw-w64-tools libz-mingw-w64-dev
  wine wine64 xvfb xauth x11-utils
  googletest libgtest-dev libbenchmark-dev
  libsqlite3-dev libpng-dev zlib1g-dev libjpeg-dev libgif-dev
  sqlite3 python3 clang-format nsis
  clang libclang-rt-14-dev
)

missing=()
for p in "${VH_PACKAGES[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  [ "$status" = "install ok installed" ] || missing+=("$p")
done

# Only the missing ones, named before apt runs. Nothing else on the machine is
# changed: the toolchain file names the posix-thread compilers itself, so the
# mingw-w64 alternatives stay as they are.
if [ ${#missing[@]} -gt 0 ]; then
  vh_log "installing: ${missing[*]}"
  vh_sudo apt-get update -q
  DEBIAN_FRONTEND=noninteractive vh_sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
fi
