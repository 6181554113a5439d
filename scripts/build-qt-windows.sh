#!/usr/bin/env bash
# Builds Qt (Core, Gui, Widgets, the windows platform plugin and the windowsvista
# style) for 64-bit Windows from Debian's qt6-base source with MinGW-w64, shared,
# and installs it into a cache outside the clone. The cache directory is keyed by
# the source version, the compiler version, the configure options and the patches,
# and is reused when present.
#
#   scripts/build-qt-windows.sh            build if needed; print the prefix last
#   scripts/build-qt-windows.sh --prefix   print the prefix the current key names
#   scripts/build-qt-windows.sh --check    exit 0 when that prefix is complete
#
# Environment: DW_QT_JOBS (default: number of cores).
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cache_root="${XDG_CACHE_HOME:-$HOME/.cache}/datawright/qt-windows"
src_pkg=qt6-base
src_version=6.4.2+dfsg-10     # must match the host tools (qt6-base-dev-tools)
patch_dir="$here/packaging/windows/qt-patches"
cc=x86_64-w64-mingw32-gcc-posix
cxx=x86_64-w64-mingw32-g++-posix

options=(
  -DCMAKE_BUILD_TYPE=Release -DBUILD_SHARED_LIBS=ON
  -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DQT_BUILD_BENCHMARKS=OFF
  -DFEATURE_pkg_config=OFF -DFEATURE_dbus=OFF -DFEATURE_sql=OFF
  -DFEATURE_network=OFF -DFEATURE_printsupport=OFF -DFEATURE_xml=OFF
  -DFEATURE_concurrent=OFF -DFEATURE_opengl=OFF -DINPUT_opengl=no
  -DFEATURE_vulkan=OFF -DFEATURE_direct2d=OFF -DFEATURE_icu=OFF
  -DFEATURE_glib=OFF -DFEATURE_zstd=OFF -DFEATURE_tabletevent=OFF
  -DFEATURE_freetype=OFF -DFEATURE_jpeg=OFF -DFEATURE_gif=OFF
  -DFEATURE_testlib=OFF
  -DFEATURE_system_zlib=OFF -DFEATURE_system_pcre2=OFF
  -DFEATURE_system_harfbuzz=OFF -DFEATURE_system_png=OFF
  -DFEATURE_system_doubleconversion=OFF -DFEATURE_system_textmarkdownreader=OFF
  -DFEATURE_system_jpeg=OFF -DFEATURE_system_freetype=OFF
  -DFEATURE_windowsvista=ON
)

# Debian's patches that matter on Windows: the security fixes. The rest of the
# series is for the Linux packages.
debian_patch_filter='^cve-'

compute_key() {
  local gcc_version
  gcc_version="$("$cxx" -dumpfullversion 2>/dev/null || echo none)"
  local sum
  sum="$( {
    echo "$src_pkg $src_version"
    echo "$cxx $gcc_version"
    printf '%s\n' "${options[@]}"
    echo "debian: $debian_patch_filter"
    cat "$patch_dir"/*.patch
  } | sha256sum | cut -c1-16)"
  echo "qt-${src_version}-gcc${gcc_version}-${sum}"
}

key="$(compute_key)"
prefix="$cache_root/$key"
stamp="$prefix/.complete"

case "${1:-}" in
  --prefix) echo "$prefix"; exit 0 ;;
  --check) [[ -f "$stamp" ]]; exit ;;
esac

if [[ -f "$stamp" ]]; then
  echo "Qt for Windows: cached at $prefix" >&2
  echo "$prefix"
  exit 0
fi

as_root() { if [[ $(id -u) -eq 0 ]]; then "$@"; else sudo "$@"; fi; }

# What the build needs, installed once.
need=()
for p in g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 mingw-w64-tools \
         qt6-base-dev qt6-base-dev-tools cmake ninja-build dpkg-dev; do
  dpkg -s "$p" >/dev/null 2>&1 || need+=("$p")
done
if ((${#need[@]})); then
  as_root apt-get update
  as_root apt-get install -y --no-install-recommends "${need[@]}"
fi
host_version="$(dpkg-query -W -f='${Version}' qt6-base-dev-tools)"
if [[ "$host_version" != "$src_version" ]]; then
  echo "qt6-base-dev-tools is $host_version; the source is $src_version. They must match." >&2
  exit 1
fi

# Debian's source, fetched once (a deb-src entry of our own when the machine has none).
src_dir="$cache_root/src"
dsc="$src_dir/${src_pkg}_${src_version}.dsc"
if [[ ! -f "$dsc" ]]; then
  bash "$(dirname "${BASH_SOURCE[0]}")/add-deb-src.sh"
  mkdir -p "$src_dir"
  (cd "$src_dir" && apt-get source --download-only "$src_pkg=$src_version")
fi

work="$cache_root/work-$key"
tree="$work/source"
build="$work/build"
if [[ ! -f "$work/.patched" ]]; then
  rm -rf "$work"
  mkdir -p "$work"
  dpkg-source -x --skip-patches "$dsc" "$tree" >/dev/null
  applied=()
  while read -r p; do
    patch -d "$tree" -p1 --forward --quiet < "$tree/debian/patches/$p"
    applied+=("debian/patches/$p")
  done < <(grep -E "$debian_patch_filter" "$tree/debian/patches/series")
  for p in "$patch_dir"/*.patch; do
    patch -d "$tree" -p1 --forward --quiet < "$p"
    applied+=("$(basename "$p")")
  done
  printf '%s\n' "${applied[@]}" > "$work/patches-applied.txt"
  touch "$work/.patched"
fi

mkdir -p "$build"
cat > "$build/toolchain.cmake" <<EOF
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER $cc)
set(CMAKE_CXX_COMPILER $cxx)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
EOF

start=$(date +%s)
if [[ ! -f "$build/build.ninja" ]]; then
  cmake -S "$tree" -B "$build" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$build/toolchain.cmake" \
    -DCMAKE_INSTALL_PREFIX="$prefix" \
    -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
    "${options[@]}"
fi
cmake --build "$build" -j"${DW_QT_JOBS:-$(nproc)}"
rm -rf "$prefix"
cmake --install "$build"
mkdir -p "$prefix/share/datawright"
cp "$work/patches-applied.txt" "$prefix/share/datawright/"
echo "$src_pkg $src_version" > "$prefix/share/datawright/source.txt"
for f in LICENSES/LGPL-3.0-only.txt LICENSES/GPL-2.0-only.txt LICENSES/GPL-3.0-only.txt; do
  [[ -f "$tree/$f" ]] && cp "$tree/$f" "$prefix/share/datawright/"
done
cp "$tree/debian/copyright" "$prefix/share/datawright/debian-copyright"
touch "$stamp"
rm -rf "$build"
echo "Qt for Windows: built in $(( $(date +%s) - start )) s into $prefix" >&2
echo "$prefix"
