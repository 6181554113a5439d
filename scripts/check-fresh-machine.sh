#!/usr/bin/env bash
# Runs the README's two commands as a new user would: on a minimal Debian 12 made with
# debootstrap, in a clone of the committed main that lies in a private folder (mode 700), as root.
# The bare system is cached between runs (a tar of the debootstrap result); every run unpacks it
# afresh, so nothing installed by an earlier run is there.
# Usage: scripts/check-fresh-machine.sh [REV]        (default: main)
# Needs root (chroot, bind mounts). Takes about as long as scripts/test.sh plus the package
# downloads.
set -euo pipefail
cd "$(dirname "$0")/.."
repo="$PWD"
rev="${1:-main}"
suite=bookworm
cache="${XDG_CACHE_HOME:-$HOME/.cache}/datawright/fresh-debian12"
base="$cache/$suite-minbase.tar"

[ "$(id -u)" -eq 0 ] || { echo "check-fresh-machine: run as root (chroot and bind mounts)" >&2; exit 2; }
if ! command -v debootstrap >/dev/null; then
  apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq debootstrap >&2
fi

# The mirror this machine's apt uses, so the fresh system reaches the same archive.
mirror="$(awk '/^URIs:/ {print $2; exit}' /etc/apt/sources.list.d/*.sources 2>/dev/null || true)"
[ -n "$mirror" ] || mirror="$(awk '$1 == "deb" && $3 ~ /^'"$suite"'$/ {print $2; exit}' /etc/apt/sources.list 2>/dev/null || true)"
[ -n "$mirror" ] || { echo "check-fresh-machine: no Debian mirror in this machine's apt sources" >&2; exit 2; }

start=$(date +%s)
if [ ! -f "$base" ]; then
  echo "== debootstrap $suite (cached in $base)"
  mkdir -p "$cache"
  rm -rf "$cache/bootstrap"
  debootstrap --variant=minbase "$suite" "$cache/bootstrap" "$mirror" >"$cache/debootstrap.log" 2>&1 ||
    { tail -n 20 "$cache/debootstrap.log" >&2; exit 1; }
  tar -C "$cache/bootstrap" -cf "$base.partial" . && mv "$base.partial" "$base"
  rm -rf "$cache/bootstrap"
fi

work="$(mktemp -d /tmp/datawright-fresh.XXXXXX)"
root="$work/root"
mounted=()
cleanup() {
  for ((i = ${#mounted[@]} - 1; i >= 0; i--)); do umount -l "${mounted[i]}" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT
mkdir -p "$root"
tar -C "$root" -xf "$base"
# The same apt sources (the main suite, its updates and the security suite) and name service.
rm -f "$root"/etc/apt/sources.list "$root"/etc/apt/sources.list.d/*
cp /etc/apt/sources.list.d/*.sources "$root/etc/apt/sources.list.d/" 2>/dev/null || true
[ -f /etc/apt/sources.list ] && cp /etc/apt/sources.list "$root/etc/apt/"
cp /etc/resolv.conf "$root/etc/resolv.conf" 2>/dev/null || true
for m in proc sys dev dev/pts; do
  mount --bind "/$m" "$root/$m"
  mounted+=("$root/$m")
done
mount -t tmpfs tmpfs "$root/tmp" && mounted+=("$root/tmp")

# A private folder, as a home or a mktemp -d folder is: other users cannot enter it.
private="$root/root/private"
mkdir -p "$private" && chmod 700 "$private"
git clone --quiet --no-local --branch "$rev" "$repo" "$private/datawright" 2>/dev/null ||
  git clone --quiet --no-local "$repo" "$private/datawright"
git -C "$private/datawright" checkout --quiet "$rev"
echo "== fresh $suite, clone of $rev ($(git -C "$private/datawright" rev-parse --short HEAD)) in a mode-700 folder"

log="$work/run.log"
status=0
chroot "$root" /usr/bin/env -i HOME=/root PATH=/usr/sbin:/usr/bin:/sbin:/bin LANG=C.UTF-8 TERM=dumb \
  bash -c 'cd /root/private/datawright && bash scripts/demo.sh && bash scripts/test.sh' >"$log" 2>&1 || status=$?
tail -n 40 "$log"
cp "$log" "$cache/last-run.log"
echo "== check-fresh-machine: $([ $status -eq 0 ] && echo passed || echo "FAILED (status $status)") in $(( $(date +%s) - start )) s; log: $cache/last-run.log"
exit $status
