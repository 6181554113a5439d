#!/usr/bin/env bash
# Cross-builds the core and datawright-cli for 64-bit Windows on Debian 12, tests them under
# wine, and packs build-windows/Datawright-<version>-win64.zip.
#   bash scripts/build-windows.sh        everything
#   bash scripts/build-windows.sh deps   only the toolchain and the static libraries; prints
#                                        the prefix (for builds that use the toolchain file)
# libpng, libdeflate and GoogleTest are built from Debian's source packages (with Debian's
# patches) into ${XDG_CACHE_HOME:-~/.cache}/datawright/windows/<key>, reused when present.
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT="$PWD"
TRIPLE=x86_64-w64-mingw32
TOOLCHAIN="$ROOT/cmake/mingw-w64-x86_64.cmake"
SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"

log() { printf '== %s\n' "$*" >&2; }

install_packages() {
  local packages=(
    g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
    mingw-w64-tools libz-mingw-w64-dev   # the cross compiler and zlib for the target
    wine wine64                          # runs the Windows programs and tests
    cmake ninja-build pkg-config dpkg-dev make   # builds; dpkg-dev unpacks source packages
  )
  local missing=() p
  for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  log "installing: ${missing[*]}"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends \
    "${missing[@]}" >&2
}

# Source packages need a deb-src entry; add one for the machine's own suites when none exists.
ensure_deb_src() { bash "$(dirname "${BASH_SOURCE[0]}")/add-deb-src.sh"; }

SOURCES=(libpng1.6 libdeflate googletest)
DEPS_RECIPE=1   # raise when build_deps changes what it builds
CACHE="${XDG_CACHE_HOME:-$HOME/.cache}/datawright/windows"

# Downloads each source package into $CACHE/sources (kept), newest version first; a mirror that
# lacks the newest one gets the next. Prints the .dsc files chosen.
fetch_sources() {
  mkdir -p "$CACHE/sources"
  local pkg version dsc
  for pkg in "${SOURCES[@]}"; do
    dsc=""
    for version in $(apt-cache showsrc "$pkg" | sed -n 's/^Version: //p' | sort -V -r -u); do
      local file="$CACHE/sources/${pkg}_${version#*:}.dsc"
      # A version the mirror did not have is not asked for again.
      grep -qxF "$pkg=$version" "$CACHE/sources/unavailable" 2>/dev/null && continue
      if [ -f "$file" ] || (cd "$CACHE/sources" && apt-get source -qq --download-only "$pkg=$version" >/dev/null 2>&1); then
        dsc="$file"
        break
      fi
      echo "$pkg=$version" >>"$CACHE/sources/unavailable"
    done
    [ -n "$dsc" ] || { echo "cannot download the source package $pkg" >&2; exit 1; }
    echo "$dsc"
  done
}

# The cache key: the source versions, the compiler and the recipe.
deps_key() {
  { for d in "$@"; do basename "$d"; done; $TRIPLE-g++-posix -dumpversion; echo "$DEPS_RECIPE"; } |
    sha256sum | cut -c1-16
}

build_deps() {
  local prefix="$1" work dsc
  shift
  work="$(mktemp -d)"
  log "building static libpng, libdeflate and GoogleTest into $prefix"
  for dsc in "$@"; do
    local name
    name="$(basename "$dsc" .dsc)"
    dpkg-source --no-check -x "$dsc" "$work/${name%%_*}-${name#*_}" >/dev/null
  done
  local staging="$prefix.partial"
  rm -rf "$staging"
  local common=(-G Ninja -DCMAKE_TOOLCHAIN_FILE="$TOOLCHAIN" -DCMAKE_BUILD_TYPE=Release
                -DCMAKE_INSTALL_PREFIX="$staging" -DBUILD_SHARED_LIBS=OFF)

  local src
  src="$(find "$work" -maxdepth 1 -type d -name 'libpng1.6-*' | head -1)"
  cmake -S "$src" -B "$work/png-build" "${common[@]}" -DPNG_SHARED=OFF -DPNG_STATIC=ON \
    -DPNG_TESTS=OFF -DPNG_EXECUTABLES=OFF -DSKIP_INSTALL_PROGRAMS=ON -DSKIP_INSTALL_EXECUTABLES=ON \
    -DZLIB_LIBRARY=/usr/$TRIPLE/lib/libz.a -DZLIB_INCLUDE_DIR=/usr/$TRIPLE/include >/dev/null
  cmake --build "$work/png-build" --target png_static >/dev/null
  cmake --install "$work/png-build" >/dev/null 2>&1 || true
  [ -f "$staging/lib/libpng16.a" ] || cp "$work/png-build/libpng16.a" "$staging/lib/" 2>/dev/null
  [ -f "$staging/lib/libpng.a" ] || cp "$staging/lib/libpng16.a" "$staging/lib/libpng.a"

  src="$(find "$work" -maxdepth 1 -type d -name 'libdeflate-*' | head -1)"
  if [ -f "$src/CMakeLists.txt" ]; then
    cmake -S "$src" -B "$work/deflate-build" "${common[@]}" -DLIBDEFLATE_BUILD_SHARED_LIB=OFF \
      -DLIBDEFLATE_BUILD_GZIP=OFF >/dev/null
    cmake --build "$work/deflate-build" >/dev/null
    cmake --install "$work/deflate-build" >/dev/null
  else
    # Its Makefile names the static library of a MinGW build libdeflatestatic.lib.
    make -C "$src" -s -j2 CC=$TRIPLE-gcc-posix AR=$TRIPLE-ar libdeflatestatic.lib >/dev/null
    mkdir -p "$staging/lib/pkgconfig" "$staging/include"
    cp "$src/libdeflatestatic.lib" "$staging/lib/libdeflate.a"
    cp "$src/libdeflate.h" "$staging/include/"
    local version
    version="$(sed -n 's/^#define LIBDEFLATE_VERSION_STRING[^"]*"\([^"]*\)".*/\1/p' "$src/libdeflate.h")"
    cat >"$staging/lib/pkgconfig/libdeflate.pc" <<PC
prefix=$prefix
includedir=\${prefix}/include
libdir=\${prefix}/lib

Name: libdeflate
Description: Fast implementation of DEFLATE, zlib, and gzip
Version: $version
Libs: -L\${libdir} -ldeflate
Cflags: -I\${includedir}
PC
  fi

  src="$(find "$work" -maxdepth 1 -type d -name 'googletest-*' | head -1)"
  cmake -S "$src" -B "$work/gtest-build" "${common[@]}" -DINSTALL_GTEST=ON -DBUILD_GMOCK=ON \
    -Dgtest_disable_pthreads=OFF >/dev/null
  cmake --build "$work/gtest-build" >/dev/null
  cmake --install "$work/gtest-build" >/dev/null

  # The staging prefix is renamed into place only when complete; fix up paths that name it.
  grep -rlF "$staging" "$staging" 2>/dev/null | xargs -r sed -i "s|$staging|$prefix|g"
  mkdir -p "$staging/licences"
  cp "$work"/libpng1.6-*/LICENSE "$staging/licences/libpng.txt"
  cp "$work"/libdeflate-*/COPYING "$staging/licences/libdeflate.txt"
  cp "$work"/googletest-*/LICENSE "$staging/licences/googletest.txt"
  rm -rf "$prefix"
  mv "$staging" "$prefix"
  rm -rf "$work"
}

deps() {
  install_packages
  ensure_deb_src
  local dscs key prefix
  mapfile -t dscs < <(fetch_sources)
  key="$(deps_key "${dscs[@]}")"
  prefix="$CACHE/$key"
  if [ ! -f "$prefix/lib/libpng.a" ] || [ ! -f "$prefix/lib/libdeflate.a" ] || [ ! -f "$prefix/lib/libgtest.a" ]; then
    build_deps "$prefix" "${dscs[@]}"
  fi
  DW_WINDOWS_DEPS="$prefix"
}

deps
if [ "${1:-}" = deps ]; then
  echo "$DW_WINDOWS_DEPS"
  exit 0
fi

jobs="$(nproc)"
BUILD="$ROOT/build-windows"

log "cross build into build-windows/"
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
cmake --preset windows -DDW_WINDOWS_DEPS="$DW_WINDOWS_DEPS" "${launcher[@]}" >/dev/null
cmake --build --preset windows --parallel "$jobs"
CLI="$BUILD/bin/datawright-cli.exe"
# Self-contained: the program may import only DLLs that every Windows has.
imports="$($TRIPLE-objdump -p "$CLI" | sed -n 's/^\s*DLL Name: //p' | tr 'A-Z' 'a-z' | sort -u | tr '\n' ' ')"
for dll in $imports; do
  case "$dll" in
    kernel32.dll|msvcrt.dll|shell32.dll|user32.dll|advapi32.dll|ole32.dll|api-ms-win-*) ;;
    *) echo "datawright-cli.exe needs $dll, which Windows does not ship" >&2; exit 1 ;;
  esac
done

# wine: a prefix of our own, a server kept warm for the whole run (its first program starts
# services that would hold the pipes of ctest and of this script open), stopped at the end.
WINE64="$(command -v wine64 || echo /usr/lib/wine/wine64)"
export WINEPREFIX="${DW_WINEPREFIX:-$CACHE/wineprefix}"
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
warm_up() { "$WINE64" cmd.exe /c exit </dev/null >/dev/null 2>&1 || true; }
[ -d "$WINEPREFIX" ] || warm_up   # creates the prefix
wineserver -k 2>/dev/null || true  # a server a killed run left would refuse the new one
wineserver -p
trap 'wineserver -k 2>/dev/null || true' EXIT
warm_up

log "unit tests under wine"
# A test whose wine process fails to start on a loaded machine gets one more run.
ctest --test-dir "$BUILD" -L unit --output-on-failure --parallel "$jobs" --timeout 600 --repeat until-pass:2

# The Linux program whose output the Windows one must match byte for byte.
LINUX_CLI="${DW_LINUX_CLI:-$ROOT/build/bin/datawright-cli}"
if [ ! -x "$LINUX_CLI" ]; then
  log "building the Linux datawright-cli for the comparison"
  cmake -S "$ROOT" -B "$ROOT/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
  cmake --build "$ROOT/build" --parallel "$jobs" --target datawright-cli
fi

# A Windows path for wine (drive Z: is the Linux root).
winpath() { local p="$1"; printf 'Z:%s' "${p//\//\\}"; }

# convert, import and export with one program under `root` (a folder with the catalog copied in).
run_jobs() {
  local kind="$1" root="$2" run
  if [ "$kind" = windows ]; then
    run() { "$WINE64" "$CLI" "$@" </dev/null; }
    p() { winpath "$1"; }
  else
    run() { "$LINUX_CLI" "$@" </dev/null; }
    p() { printf '%s' "$1"; }
  fi
  mkdir -p "$root/カード 1" "$root/取り込み 先" "$root/書き出し 先"
  run convert "$(p "$root/カタログ 見本")" "$(p "$root/カード 1")" --mode all \
    --workspace "$(p "$root/作業 フォルダ")" >/dev/null
  { printf 'PELORIN,100,Quorvatelle77,Windows\r\n'
    printf '1,2,10,,,,,,,,,,,,,,,%s,,\r\n' "$(printf 'メモ 一' | iconv -f UTF-8 -t CP932)"
    printf '3,5,12,,,,,,,,,,,,,,,,,\r\n'; } >"$root/check list.csv"
  run import "$(p "$root/check list.csv")" "$(p "$root/取り込み 先")" \
    --workspace "$(p "$root/作業 フォルダ")" >/dev/null
  cp -r "$root/取り込み 先/CheckList/." "$root/カード 1/ZAVO_DS/CheckList/"
  run export "$(p "$root/カード 1/ZAVO_DS")" "$(p "$root/書き出し 先")" >/dev/null
}

log "the sample converted, imported and exported by both builds, compared byte for byte"
compare="$(mktemp -d)"
trap 'wineserver -k 2>/dev/null || true; rm -rf "$compare"' EXIT
for kind in linux windows; do
  mkdir -p "$compare/$kind/データ 置き場"
  cp -r samples/catalog "$compare/$kind/データ 置き場/カタログ 見本"
  run_jobs "$kind" "$compare/$kind/データ 置き場"
done
rm -rf "$compare"/*/"データ 置き場/カタログ 見本"
if ! diff -r "$compare/linux" "$compare/windows" >&2; then
  echo "the Windows build's output differs from the Linux build's" >&2
  exit 1
fi
files="$(find "$compare/linux" -type f | wc -l)"
[ "$files" -gt 20 ] || { echo "too few output files ($files) to compare" >&2; exit 1; }
echo "identical: $files files (data set, workspace, check lists, exported CSV)" >&2

log "packing the zip"
version="$(sed -n 's/^project(Datawright VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)"
stage="$BUILD/Datawright-$version-win64"
rm -rf "$stage" "$stage.zip"
mkdir -p "$stage/licences"
cp "$CLI" "$stage/"
cp packaging/windows/README.txt "$stage/README.txt"
cp packaging/copyright "$stage/licences/datawright.txt"
cp "$DW_WINDOWS_DEPS"/licences/libpng.txt "$DW_WINDOWS_DEPS"/licences/libdeflate.txt "$stage/licences/"
cp /usr/share/doc/libz-mingw-w64-dev/copyright "$stage/licences/zlib.txt"
cp /usr/share/doc/gcc-mingw-w64-base/copyright "$stage/licences/mingw-w64-gcc-runtime.txt" 2>/dev/null ||
  cp /usr/share/doc/gcc-mingw-w64-x86-64-posix-runtime/copyright "$stage/licences/mingw-w64-gcc-runtime.txt"
cp /usr/share/doc/mingw-w64-common/copyright "$stage/licences/mingw-w64-runtime.txt" 2>/dev/null || true
(cd "$BUILD" && cmake -E tar cf "Datawright-$version-win64.zip" --format=zip "Datawright-$version-win64")
echo "$BUILD/Datawright-$version-win64.zip" >&2

# The desktop program joins the zip when Qt for Windows is cached; otherwise the step says it
# skipped and how to build the cache. Run as a child, so that this script's exit still stops
# the wine server.
bash "$ROOT/scripts/build-windows-desktop.sh"
