#!/usr/bin/env bash
# Starts the Windows desktop program from its unpacked zip under wine (Xvfb, openbox), in a
# folder whose path has Japanese and spaces, and drives it with xdotool through a conversion of
# samples/catalog onto a folder; the Linux desktop program is driven the same way, and the two
# workspaces and ZAVO_DS folders must be the same byte for byte.
#   bash scripts/windows-desktop-smoke.sh ZIP
#   DW_WINDOWS_SCREENSHOTS=1  keeps the main menu, a folder page and the finished status page
#                             under wine in docs/screenshots/windows/
#   DW_LINUX_GUI              the Linux program (default build/bin/datawright, built if missing)
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT="$PWD"
ZIP="$(realpath "$1")"
log() { printf '== %s\n' "$*" >&2; }

need=()
for p in xvfb openbox xdotool x11-apps netpbm wine wine64 unzip; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || need+=("$p")
done
if [ ${#need[@]} -gt 0 ]; then
  SUDO=""; [ "$(id -u)" -ne 0 ] && SUDO=sudo
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${need[@]}" >&2
fi

LINUX_GUI="${DW_LINUX_GUI:-$ROOT/build/bin/datawright}"
if [ ! -x "$LINUX_GUI" ]; then
  log "building the Linux desktop program for the comparison"
  cmake -S "$ROOT" -B "$ROOT/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
  cmake --build "$ROOT/build" --parallel "$(nproc)" --target datawright
fi

WORK="$(mktemp -d)"
XVFB_PID="" WM_PID="" APP_PID=""
WINE64="$(command -v wine64 || echo /usr/lib/wine/wine64)"
export WINEPREFIX="${DW_DESKTOP_WINEPREFIX:-${XDG_CACHE_HOME:-$HOME/.cache}/datawright/windows/wineprefix-desktop}"
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
cleanup() {
  [ -n "$APP_PID" ] && kill "$APP_PID" 2>/dev/null
  wineserver -k 2>/dev/null || true
  [ -n "$WM_PID" ] && kill "$WM_PID" 2>/dev/null
  [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null
  rm -rf "$WORK"
}
trap cleanup EXIT

display=98
while [ -e "/tmp/.X${display}-lock" ] || [ -e "/tmp/.X11-unix/X${display}" ]; do display=$((display + 1)); done
export DISPLAY=":$display"
Xvfb "$DISPLAY" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
XVFB_PID=$!
for _ in $(seq 1 100); do [ -e "/tmp/.X11-unix/X${display}" ] && break; sleep 0.1; done
openbox >/dev/null 2>&1 &
WM_PID=$!
mkdir -p "$WINEPREFIX"
wineserver -p
"$WINE64" cmd.exe /c exit </dev/null >/dev/null 2>&1 || true

shot() { xwd -root -silent | xwdtopnm 2>/dev/null | pnmtopng >"$1"; }
# Waits up to $2 seconds for a visible window whose title matches $1; prints its id.
wait_window() {
  local id
  for _ in $(seq 1 $(($2 * 2))); do
    id="$(xdotool search --onlyvisible --name "$1" 2>/dev/null | tail -1)" && [ -n "$id" ] && { echo "$id"; return 0; }
    sleep 0.5
  done
  return 1
}
keys() { xdotool key --delay 200 "$@"; sleep 2; }
# A click at x, y from the frame's right (negative x) or left, and bottom (negative y) or top.
click() {
  local w h x="$2" y="$3"
  eval "$(xdotool getwindowgeometry --shell "$1")"
  w=$WIDTH h=$HEIGHT
  [ "$x" -lt 0 ] && x=$((w + x))
  [ "$y" -lt 0 ] && y=$((h + y))
  xdotool mousemove --window "$1" "$x" "$y" click 1
  sleep 1
}
# The path box's completion list takes the keys while it is open: a click on the page's heading
# closes it, then 次へ is clicked. A screenshot into $2 when it is given, before the click.
next_after_typing() {
  sleep 2
  click "$1" 250 30
  sleep 1
  click "$1" 250 30
  sleep 2
  [ -z "${2:-}" ] || shot "$2"
  click "$1" -52 -22
  sleep 3
}

# Waits until the folder $1 holds a ZAVO_DS folder and nothing in it has changed for 6 s.
wait_settled() {
  local last="" now
  for _ in $(seq 1 200); do
    sleep 3
    [ -d "$1/ZAVO_DS" ] || continue
    now="$(find "$1" -type f -printf '%p %s %T@\n' | sort | md5sum)"
    [ "$now" = "$last" ] && return 0
    last="$now"
  done
  echo "the conversion onto $1 did not finish" >&2
  return 1
}

# Drives one program (the rest of the arguments) through the catalog wizard: main menu, start
# page, source folder, destination folder (each typed into the page's path box after Ctrl+L),
# the confirmation; waits for the copy to settle. Screenshots into $3 when it is not empty.
drive() {
  local source="$1" dest="$2" shots="$3" dest_dir="$4"
  shift 4
  "$@" </dev/null >"$WORK/app.log" 2>&1 &
  APP_PID=$!
  local frame
  frame="$(wait_window 'Datawright' 180)" || { echo "the program's window did not appear" >&2; cat "$WORK/app.log" >&2; return 1; }
  sleep 4
  xdotool windowactivate --sync "$frame" 2>/dev/null || xdotool windowfocus "$frame"
  sleep 1
  [ -z "$shots" ] || shot "$shots/main-menu.png"
  keys Return                      # the main menu's first button: the catalog conversion
  keys Return                      # the start page's 次へ
  keys ctrl+l
  xdotool type --delay 30 "$source"
  next_after_typing "$frame" "${shots:+$shots/folder-page.png}"   # 次へ with the source folder
  keys ctrl+l
  xdotool type --delay 30 "$dest"
  sleep 2
  next_after_typing "$frame"                      # 次へ with the destination
  local box
  box="$(wait_window '確認' 60)" || { echo "no confirmation box came up" >&2; return 1; }
  sleep 2
  xdotool windowactivate --sync "$box" 2>/dev/null || xdotool windowfocus "$box"
  keys Return                      # the confirmation's default answer: start
  wait_settled "$dest_dir"
  sleep 2
  [ -z "$shots" ] || shot "$shots/status-finished.png"
  kill "$APP_PID" 2>/dev/null || true
  wait "$APP_PID" 2>/dev/null || true
  APP_PID=""
}

log "the Linux desktop program through the wizard"
mkdir -p "$WORK/linux/card" "$WORK/linux/workspace" "$WORK/shots"
cp -r samples/catalog "$WORK/linux/catalog"
DATAWRIGHT_WORKSPACE="$WORK/linux/workspace" QT_QPA_PLATFORM=xcb LANG=C.UTF-8 \
  drive "$WORK/linux/catalog" "$WORK/linux/card" "${DW_SMOKE_LINUX_SHOTS:-}" "$WORK/linux/card" "$LINUX_GUI"

log "the Windows desktop program from the unpacked zip under wine"
app_dir="$WORK/windows/デスクトップ 版 テスト"
mkdir -p "$app_dir" "$WORK/windows/card" "$WORK/windows/workspace"
cp -r samples/catalog "$WORK/windows/catalog"
unzip -q "$ZIP" -d "$app_dir"
exe="$(find "$app_dir" -name datawright.exe | head -1)"
winpath() { local p="$1"; printf 'Z:%s' "${p//\//\\}"; }
shots=""
if [ -n "${DW_WINDOWS_SCREENSHOTS:-}" ]; then shots="$ROOT/docs/screenshots/windows"; mkdir -p "$shots"; fi
DATAWRIGHT_WORKSPACE="$(winpath "$WORK/windows/workspace")" \
  drive "$(winpath "$WORK/windows/catalog")" "$(winpath "$WORK/windows/card")" "$shots" "$WORK/windows/card" \
  "$WINE64" "$exe"

for part in card workspace; do
  if ! diff -r "$WORK/linux/$part" "$WORK/windows/$part" >&2; then
    echo "the Windows desktop program's $part differs from the Linux one's" >&2
    exit 1
  fi
done
files="$(find "$WORK/linux/card" "$WORK/linux/workspace" -type f | wc -l)"
[ "$files" -gt 20 ] || { echo "too few output files ($files) to compare" >&2; exit 1; }
log "identical: $files files (ZAVO_DS and the workspace) from the desktop program on Linux and under wine"
