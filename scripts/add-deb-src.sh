#!/usr/bin/env bash
# Gives apt a deb-src entry for every archive, suite and component this machine installs from,
# when it has none, so that `apt-get source` fetches the sources (with Debian's patches) of the
# packages it installs. The entries are derived from the machine's own, never written by hand.
set -euo pipefail
if grep -rqsE '^(deb-src|Types:.*deb-src)' /etc/apt/sources.list /etc/apt/sources.list.d/; then
  exit 0
fi
SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
echo "adding deb-src entries beside the machine's deb entries" >&2
for f in /etc/apt/sources.list.d/*.sources; do
  [ -f "$f" ] || continue
  sed -e 's/^Types:.*/Types: deb-src/' "$f"
  echo
done | $SUDO tee /etc/apt/sources.list.d/datawright-deb-src.sources >/dev/null
if [ -f /etc/apt/sources.list ]; then
  sed -n 's/^deb \(.*\)/deb-src \1/p' /etc/apt/sources.list | $SUDO tee /etc/apt/sources.list.d/datawright-deb-src.list >/dev/null
fi
$SUDO apt-get update -qq
