#!/usr/bin/env bash
# Prints how many tests of the last ctest run in BUILD_DIR were skipped, and why (the reason each
# test gave to GTEST_SKIP). Usage: scripts/skipped-tests.sh [BUILD_DIR]
set -euo pipefail
log="${1:-build}/Testing/Temporary/LastTest.log"
[ -f "$log" ] || { echo "skipped tests: no ctest log at $log"; exit 0; }
awk '
  / Skipped$/          { getline reason; next_reason = reason; next }
  /^\[  SKIPPED \] [0-9]+ tests?,/ { next }
  /^\[  SKIPPED \] /   { name = $4; if (!(name in seen)) { seen[name] = 1; n++;
                           lines[n] = "  " name ": " (next_reason == "" ? "(no reason given)" : next_reason) }
                         next_reason = "" }
  END { print "skipped tests: " n + 0; for (i = 1; i <= n; i++) print lines[i] }
' "$log"
