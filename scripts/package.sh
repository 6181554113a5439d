#!/usr/bin/env bash
# Builds the Debian package from build/ and prints its path:
#   build/package/datawright_<version>_<arch>.deb   (install it with: apt install ./<that path>)
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
[ -f build/CMakeCache.txt ] || cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build --parallel "$(nproc)" --target dw_package_contents >&2
rm -f build/package/*.deb
(cd build && cpack -G DEB >&2)
realpath build/package/*.deb
