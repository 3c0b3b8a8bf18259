#!/usr/bin/env bash
# Cross-builds SQLite 3, libpng, libjpeg-turbo and giflib as static mingw-w64
# libraries from Debian's own source packages. Results are cached outside the
# source tree, keyed by the package versions and the compiler, so a second
# build reuses them. Prints the prefix on stdout.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

TRIPLE=x86_64-w64-mingw32
PACKAGES=(sqlite3 libpng1.6 libjpeg-turbo giflib)
# Debian's source indices live in an apt state of our own under the cache:
# the machine's apt sources and lists stay as they are, and no root is needed.
APT_STATE="$VH_CACHE/apt"

vh_apt() {
  local tool=$1
  shift
  "$tool" -o Dir::Etc::SourceList="$APT_STATE/sources.list" -o Dir::Etc::SourceParts="$APT_STATE/sources.list.d" \
    -o Dir::State::Lists="$APT_STATE/lists" -o Dir::Cache="$APT_STATE/cache" "$@"
}

# Fetched when missing and again once a day, so a new source version (a
# security fix) is seen; an old index stays in use when the mirror cannot be
# reached.
ensure_deb_src() {
  local stamp="$APT_STATE/updated"
  if [ -f "$stamp" ] && [ -z "$(find "$stamp" -mmin +1440)" ]; then return; fi
  local codename
  codename=$(. /etc/os-release && echo "${VERSION_CODENAME:-bookworm}")
  mkdir -p "$APT_STATE/sources.list.d" "$APT_STATE/lists/partial" "$APT_STATE/cache/archives/partial"
  local keyring=/usr/share/keyrings/debian-archive-keyring.gpg
  cat > "$APT_STATE/sources.list" <<SRC
deb-src [signed-by=$keyring] http://deb.debian.org/debian $codename main
deb-src [signed-by=$keyring] http://deb.debian.org/debian $codename-updates main
deb-src [signed-by=$keyring] http://deb.debian.org/debian-security $codename-security main
SRC
  vh_log "reading Debian's source indices into $APT_STATE"
  if vh_apt apt-get update -q >&2; then
    touch "$stamp"
  elif [ -f "$stamp" ]; then
    vh_log "the source indices could not be refreshed; using those of $(date -r "$stamp" +%F)"
  else
    vh_die "Debian's source indices could not be read"
  fi
}

# All source versions apt knows for a package, newest first.
source_versions() {
  vh_apt apt-cache showsrc "$1" | awk '/^Version:/ {print $2}' | sort -V -r -u
}

# Downloads and unpacks (with Debian's patches) the newest source version the
# mirror still serves; the security index may name one that is gone.
fetch_source() {
  local pkg=$1 dest=$2 v
  mkdir -p "$dest"
  for v in $(source_versions "$pkg"); do
    if (cd "$dest" && vh_apt apt-get source --download-only -q "$pkg=$v" >&2); then
      local dsc
      dsc=$(ls "$dest"/"${pkg}"_*.dsc | head -n 1)
      (cd "$dest" && dpkg-source --no-check -x "$(basename "$dsc")" src >&2)
      echo "$v"
      return 0
    fi
    vh_log "source $pkg=$v not served, trying an older one"
    rm -rf "${dest:?}"/*
  done
  vh_die "no source version of $pkg could be downloaded"
}

toolchain_file() {
  cat > "$1" <<TC
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER $TRIPLE-gcc-posix)
set(CMAKE_CXX_COMPILER $TRIPLE-g++-posix)
set(CMAKE_RC_COMPILER $TRIPLE-windres)
set(CMAKE_FIND_ROOT_PATH /usr/$TRIPLE $2)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
TC
}

build_sqlite() {
  local src=$1 prefix=$2 work=$3
  mkdir -p "$work/native"
  # The orig tarball has no amalgamation: make sqlite3.c with the native tools.
  (cd "$work/native" && "$src/configure" --disable-tcl >/dev/null && make -s sqlite3.c >/dev/null) >&2
  # Compiled with SQLite's defaults (double-quoted string literals stay on).
  $TRIPLE-gcc-posix -O2 -DSQLITE_THREADSAFE=1 -DSQLITE_ENABLE_FTS5=0 \
    -c "$work/native/sqlite3.c" -o "$work/sqlite3.o"
  $TRIPLE-ar rcs "$prefix/lib/libsqlite3.a" "$work/sqlite3.o"
  cp "$work/native/sqlite3.h" "$work/native/sqlite3ext.h" "$prefix/include/"
}

build_png() {
  local src=$1 prefix=$2 work=$3 tc=$4
  cmake -S "$src" -B "$work" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$tc" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" \
    -DPNG_SHARED=OFF -DPNG_STATIC=ON -DPNG_TESTS=OFF -DPNG_EXECUTABLES=OFF \
    -DZLIB_USE_STATIC_LIBS=ON -DZLIB_LIBRARY=/usr/$TRIPLE/lib/libz.a \
    -DZLIB_INCLUDE_DIR=/usr/$TRIPLE/include -DSKIP_INSTALL_EXPORT=ON >&2
  cmake --build "$work" >&2
  cmake --install "$work" >&2
}

build_jpeg() {
  local src=$1 prefix=$2 work=$3 tc=$4
  cmake -S "$src" -B "$work" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$tc" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" \
    -DENABLE_SHARED=OFF -DENABLE_STATIC=ON -DWITH_TURBOJPEG=OFF \
    -DCMAKE_ASM_NASM_COMPILER=nasm >&2
  cmake --build "$work" >&2
  cmake --install "$work" >&2
}

build_gif() {
  local src=$1 prefix=$2 work=$3 tc=$4
  # giflib ships only a Makefile; its library sources need a small target.
  mkdir -p "$work/proj"
  cat > "$work/proj/CMakeLists.txt" <<CM
cmake_minimum_required(VERSION 3.13)
project(gif C)
add_library(gif STATIC
  $src/dgif_lib.c $src/egif_lib.c $src/gifalloc.c $src/gif_err.c
  $src/gif_font.c $src/gif_hash.c $src/openbsd-reallocarray.c $src/quantize.c)
target_include_directories(gif PRIVATE $src)
install(TARGETS gif ARCHIVE DESTINATION lib)
install(FILES $src/gif_lib.h DESTINATION include)
CM
  cmake -S "$work/proj" -B "$work/build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$tc" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" >&2
  cmake --build "$work/build" >&2
  cmake --install "$work/build" >&2
}

main() {
  command -v $TRIPLE-gcc-posix >/dev/null || vh_die "mingw-w64 is not installed (run install-packages.sh)"
  ensure_deb_src

  local key="" p v
  for p in "${PACKAGES[@]}"; do
    v=$(source_versions "$p" | head -n 1)
    [ -n "$v" ] || vh_die "apt knows no source package $p"
    key+="$p-$v;"
  done
  key+="gcc-$($TRIPLE-gcc-posix -dumpversion)"
  local hash prefix
  hash=$(printf '%s' "$key" | sha256sum | cut -c1-16)
  prefix="$VH_CACHE/mingw-deps/$hash"

  if [ ! -f "$prefix/.complete" ]; then
    vh_log "cross-building Windows dependencies into $prefix"
    # Global, so the exit trap still sees it after main returns.
    VH_DEPS_WORK=$(mktemp -d "${TMPDIR:-/tmp}/vornhalt-deps.XXXXXX")
    trap 'rm -rf "${VH_DEPS_WORK:-}"' EXIT
    local work=$VH_DEPS_WORK
    rm -rf "$prefix"
    mkdir -p "$prefix/include" "$prefix/lib"
    toolchain_file "$work/toolchain.cmake" "$prefix"
    for p in "${PACKAGES[@]}"; do
      v=$(fetch_source "$p" "$work/$p")
      echo "$p $v" >> "$prefix/versions.txt"
    done
    build_sqlite "$work/sqlite3/src" "$prefix" "$work/sqlite3-build"
    build_png "$work/libpng1.6/src" "$prefix" "$work/png-build" "$work/toolchain.cmake"
    build_jpeg "$work/libjpeg-turbo/src" "$prefix" "$work/jpeg-build" "$work/toolchain.cmake"
    build_gif "$work/giflib/src" "$prefix" "$work/gif-build" "$work/toolchain.cmake"
    printf '%s\n' "$key" > "$prefix/.complete"
  fi
  # A stable name the CMake preset can point at.
  ln -sfn "$prefix" "$VH_CACHE/mingw-deps/current"
  echo "$prefix"
}

main "$@"
