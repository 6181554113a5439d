#!/usr/bin/env bash
# The desktop program for 64-bit Windows: cross-built against the Qt that
# scripts/build-qt-windows.sh caches, added with the Qt and MinGW runtime DLLs to the zip that
# scripts/build-windows.sh packs, then started from the unpacked zip under wine (Xvfb, openbox)
# in a folder with Japanese and spaces in its path and driven through a conversion of the sample
# with xdotool; every output byte is compared with the Linux desktop program's.
#   bash scripts/build-windows-desktop.sh            build, pack, smoke test
#   bash scripts/build-windows-desktop.sh --no-smoke build and pack only
#   DW_WINDOWS_SCREENSHOTS=1  also keeps screenshots in docs/screenshots/windows/
# Without the Qt cache it says so and exits 0: the rest of the Windows build does not need it.
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT="$PWD"
TRIPLE=x86_64-w64-mingw32
log() { printf '== %s\n' "$*" >&2; }

if ! bash scripts/build-qt-windows.sh --check; then
  cat >&2 <<EOF
SKIPPED: the Windows desktop program (datawright.exe). Qt for Windows is not in the cache
  $(bash scripts/build-qt-windows.sh --prefix)
Build it once with:  bash scripts/build-qt-windows.sh
(a cold build of Debian's qt6-base for MinGW; see the README's Install section for its time).
EOF
  exit 0
fi
QT="$(bash scripts/build-qt-windows.sh --prefix)"
# Qt's Japanese translations come from the Debian package of the same Qt version.
if [ ! -f /usr/share/qt6/translations/qtbase_ja.qm ]; then
  SUDO=""; [ "$(id -u)" -ne 0 ] && SUDO=sudo
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends qt6-translations-l10n >&2
fi
DEPS="$(bash scripts/build-windows.sh deps)"
version="$(sed -n 's/^project(Datawright VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)"
STAGE="$ROOT/build-windows/Datawright-$version-win64"
[ -x "$STAGE/datawright-cli.exe" ] || {
  echo "$STAGE has no datawright-cli.exe: run bash scripts/build-windows.sh first" >&2
  exit 1
}

log "cross build of the desktop program into build-windows-desktop/"
BUILD="$ROOT/build-windows-desktop"
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S . -B "$BUILD" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-w64-x86_64-qt.cmake" \
  -DCMAKE_BUILD_TYPE=Release -DCMAKE_EXE_LINKER_FLAGS=-s -DDW_WINDOWS_DEPS="$DEPS" \
  -DDW_WINDOWS_QT="$QT" -DBUILD_TESTING=OFF -DDW_BUILD_TOOLS=OFF "${launcher[@]}" >/dev/null
cmake --build "$BUILD" --parallel "$(nproc)" --target datawright
GUI="$BUILD/bin/datawright.exe"

log "adding datawright.exe, its DLLs, plugins and translations to the zip"
GCC_DLLS="$(dirname "$($TRIPLE-g++-posix -print-libgcc-file-name)")"
# A DLL the program or a plugin imports, from Qt or the MinGW runtime; empty for Windows' own.
dll_source() {
  local dir
  for dir in "$QT/bin" "$GCC_DLLS" "/usr/$TRIPLE/lib"; do
    [ -f "$dir/$1" ] && { echo "$dir/$1"; return 0; }
  done
  return 0
}
imports() { $TRIPLE-objdump -p "$1" | sed -n 's/^\s*DLL Name: //p'; }
cp "$GUI" "$STAGE/"
mkdir -p "$STAGE/plugins/platforms" "$STAGE/plugins/styles" "$STAGE/translations"
cp "$QT/plugins/platforms/qwindows.dll" "$STAGE/plugins/platforms/"
cp "$QT/plugins/styles/qwindowsvistastyle.dll" "$STAGE/plugins/styles/"
queue=("$STAGE/datawright.exe" "$STAGE/plugins/platforms/qwindows.dll" "$STAGE/plugins/styles/qwindowsvistastyle.dll")
while [ ${#queue[@]} -gt 0 ]; do
  file="${queue[0]}"
  queue=("${queue[@]:1}")
  for dll in $(imports "$file"); do
    [ -f "$STAGE/$dll" ] && continue
    src="$(dll_source "$dll")"
    [ -n "$src" ] || continue
    cp "$src" "$STAGE/$dll"
    queue+=("$STAGE/$dll")
  done
done
find "$STAGE" -name '*.dll' -exec $TRIPLE-strip --strip-unneeded {} +
printf '[Paths]\r\nPrefix = .\r\n' >"$STAGE/qt.conf"
cp /usr/share/qt6/translations/qtbase_ja.qm "$STAGE/translations/"
mkdir -p "$STAGE/licences"
cp "$QT/share/datawright/LGPL-3.0-only.txt" "$STAGE/licences/qt-LGPL-3.0.txt"
cp "$QT/share/datawright/GPL-3.0-only.txt" "$STAGE/licences/qt-GPL-3.0.txt"
cp "$QT/share/datawright/debian-copyright" "$STAGE/licences/qt6-base-copyright.txt"
patches="$(sed 's/^/  /' "$QT/share/datawright/patches-applied.txt")"
qt_source="$(cat "$QT/share/datawright/source.txt")"
grep -q "The desktop program" "$STAGE/README.txt" || cat >>"$STAGE/README.txt" <<EOF

デスクトップ版 / The desktop program
------------------------------------
datawright.exe をダブルクリックすると起動します (コンソールは開きません)。
Double-click datawright.exe to start the desktop program (it opens no console).

Qt 6 (LGPL-3.0): Qt6Core.dll, Qt6Gui.dll, Qt6Widgets.dll と plugins\\ はそのまま
差し替えられます。ビルド元は Debian のソースパッケージ ${qt_source} で、
当てたパッチは次の通りです。
The Qt DLLs and plugins\\ may be replaced by your own build of the same Qt version. They are
built from the Debian source package ${qt_source} with these patches:
${patches}
The source and the build script: scripts/build-qt-windows.sh in the Datawright sources.
EOF
# CR LF for Notepad.
sed -i 's/\r\?$/\r/' "$STAGE/README.txt"
ZIP="$ROOT/build-windows/Datawright-$version-win64.zip"
rm -f "$ZIP"
(cd "$ROOT/build-windows" && cmake -E tar cf "$ZIP" --format=zip "Datawright-$version-win64")
log "$ZIP: $(du -k "$ZIP" | cut -f1) KB packed, $(du -sk "$STAGE" | cut -f1) KB unpacked"

[ "${1:-}" = --no-smoke ] && exit 0
exec bash scripts/windows-desktop-smoke.sh "$ZIP"
