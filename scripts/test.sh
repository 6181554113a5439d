#!/usr/bin/env bash
# Installs what is missing, builds, and runs the whole test suite:
#   1. the normal build and its CTest suite (GUI tests offscreen),
#   2. the same suite built with AddressSanitizer + UndefinedBehaviorSanitizer (any report fails),
#   3. a smoke run of every libFuzzer harness over its seed corpus.
set -euo pipefail
cd "$(dirname "$0")/.."
export QT_QPA_PLATFORM=offscreen
jobs="$(nproc)"

echo "== build and test"
bash scripts/build.sh -DDW_BUILD_BENCH=ON
ctest --test-dir build --output-on-failure --parallel "$jobs"
bash scripts/skipped-tests.sh build

echo "== sanitizer build and test"
cmake --preset asan >/dev/null
cmake --build --preset asan --parallel "$jobs"
ctest --preset asan --parallel "$jobs"
bash scripts/skipped-tests.sh build-asan

echo "== fuzz smoke runs"
bash scripts/fuzz.sh "${DW_FUZZ_SMOKE_RUNS:-3000}"
echo "== Debian package, unpacked and run as an unprivileged user" && bash scripts/check-package.sh
