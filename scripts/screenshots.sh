#!/usr/bin/env bash
# Pictures of every page of the desktop program, taken under Xvfb, into docs/screenshots/.
# Usage: scripts/screenshots.sh [BUILD_DIR]   (default: build; builds the program if missing)
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD_DIR="${1:-build}"
PROGRAM="$BUILD_DIR/bin/datawright-screenshots"
OUT="docs/screenshots"

if [ ! -x "$PROGRAM" ]; then
  cmake -S . -B "$BUILD_DIR" -G Ninja >/dev/null
  cmake --build "$BUILD_DIR" --parallel "$(nproc)" --target datawright-screenshots
fi

# A display number nobody uses.
DISPLAY_NUMBER=99
while [ -e "/tmp/.X${DISPLAY_NUMBER}-lock" ] || [ -e "/tmp/.X11-unix/X${DISPLAY_NUMBER}" ]; do
  DISPLAY_NUMBER=$((DISPLAY_NUMBER + 1))
done
Xvfb ":${DISPLAY_NUMBER}" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
XVFB_PID=$!
trap 'kill "$XVFB_PID" 2>/dev/null || true' EXIT
for _ in $(seq 1 50); do
  [ -e "/tmp/.X11-unix/X${DISPLAY_NUMBER}" ] && break
  sleep 0.1
done

mkdir -p "$OUT"
# An English locale on purpose: the program picks its Japanese font itself.
DISPLAY=":${DISPLAY_NUMBER}" QT_QPA_PLATFORM=xcb LANG=C.UTF-8 LC_ALL=C.UTF-8 \
  "$PROGRAM" "$OUT" "$PWD/samples/catalog"
ls -1 "$OUT"
