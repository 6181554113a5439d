#!/usr/bin/env bash
# Installs what is missing, builds, and converts the bundled sample catalog.
# Usage: scripts/demo.sh [DEST]   (default DEST: out/demo)
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh
dest="${1:-out/demo}"
mkdir -p "$dest"
dest="$(cd "$dest" && pwd)"
echo "Converting samples/catalog into $dest/ZAVO_DS"
build/bin/datawright-cli convert samples/catalog "$dest" --mode all
echo "Done: $dest/ZAVO_DS"
