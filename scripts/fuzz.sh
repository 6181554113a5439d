#!/usr/bin/env bash
# Builds the libFuzzer harnesses (clang) and runs each one for a fixed number of runs over its
# seed corpus. Usage: scripts/fuzz.sh [RUNS]   (default 20000; the test command uses a smoke run)
# A harness that finds a crash leaves crash-* in build-fuzz/findings/<name>/ and fails the script.
set -euo pipefail
cd "$(dirname "$0")/.."
runs="${1:-20000}"
bash scripts/install-deps.sh
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz --parallel "$(nproc)"
status=0
for harness in build-fuzz/bin/*_fuzz; do
  name="$(basename "$harness" _fuzz)"
  seeds="fuzz/corpus/$name"
  work="build-fuzz/corpus-run/$name"
  findings="build-fuzz/findings/$name"
  rm -rf "$work"
  mkdir -p "$work" "$findings"
  [ -d "$seeds" ] && cp -r "$seeds/." "$work/"
  log="build-fuzz/findings/$name.log"
  if "$harness" -runs="$runs" -max_len=65536 -timeout=10 -rss_limit_mb=2048 \
       -artifact_prefix="$findings/" "$work" >"$log" 2>&1; then
    execs=$(grep -Eo 'Done [0-9]+ runs' "$log" | tail -n1 || true)
    echo "fuzz $name: ok (${execs:-no count})"
  else
    echo "fuzz $name: FAILED, see $log"
    tail -n 30 "$log"
    status=1
  fi
done
exit $status
