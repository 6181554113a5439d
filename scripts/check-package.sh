#!/usr/bin/env bash
# Checks the Debian package as a user gets it. Builds it, unpacks it into a temporary root and
# runs that datawright-cli as an unprivileged user with a fresh HOME on a copy of samples/catalog
# that this user can read, wherever the clone lies (a private home or mktemp folder): the data
# set and the workspace must be byte-identical to those of the build tree's program, and the
# workspace must be the per-user one under that HOME. Then validates the desktop entry, the
# AppStream metainfo and the package (lintian: no error), and compares both programs' --version.
set -euo pipefail
cd "$(dirname "$0")/.."
deb="$(bash scripts/package.sh)"

# Under /tmp, whatever TMPDIR says: the unprivileged user must reach every input.
tmp="$(mktemp -d /tmp/datawright-package-check.XXXXXX)"
trap 'rm -rf "$tmp"' EXIT
chmod 755 "$tmp"
root="$tmp/root" home="$tmp/home" catalog="$tmp/catalog"
cp -R samples/catalog "$catalog"
chmod -R a+rX "$catalog"
dpkg-deb -x "$deb" "$root"
cp "$deb" "$tmp/"
# Destinations must exist: only ZAVO_DS is created in them.
mkdir -p "$home/out" "$tmp/ref"

# As root, run as "nobody"; an ordinary user is unprivileged already.
as_user=()
if [ "$(id -u)" -eq 0 ]; then
  chown -R nobody:nogroup "$home"
  as_user=(setpriv --reuid=nobody --regid=nogroup --clear-groups --)
fi
clean_env=(env -i "HOME=$home" PATH=/usr/bin:/bin LANG=C.UTF-8)

fail() { echo "check-package: $*" >&2; exit 1; }

echo "== unpacked datawright-cli as $("${as_user[@]}" id -un) with HOME=$home"
build/bin/datawright-cli convert samples/catalog "$tmp/ref" --workspace "$tmp/ref-ws" >/dev/null
"${as_user[@]}" "${clean_env[@]}" "$root/usr/bin/datawright-cli" convert "$catalog" "$home/out" \
  >"$tmp/stdout" 2>"$tmp/stderr" || { cat "$tmp/stderr" >&2; fail "the installed conversion failed"; }
workspace="$home/.local/share/datawright/DATA"
[ "$(head -n1 "$tmp/stderr")" = "作業フォルダ: $workspace" ] || fail "workspace line: $(head -n1 "$tmp/stderr")"
diff -r "$tmp/ref/ZAVO_DS" "$home/out/ZAVO_DS" || fail "the data sets differ"
diff -r "$tmp/ref-ws" "$workspace" || fail "the workspaces differ"
[ ! -e "$root/usr/bin/DATA" ] || fail "the installed program wrote beside itself"
echo "data set and workspace identical ($(find "$home/out/ZAVO_DS" -type f | wc -l) files)"

echo "== desktop entry, metainfo, package"
desktop-file-validate "$root/usr/share/applications/datawright.desktop"
appstreamcli validate --no-net "$root/usr/share/metainfo/org.datawright.Datawright.metainfo.xml"
# lintian as the unprivileged user too: as root it only warns that it should not run as root.
# From a folder that user may enter: the clone may lie in a private one.
(cd "$tmp" && "${as_user[@]}" "${clean_env[@]}" lintian --fail-on error "$tmp/$(basename "$deb")")

echo "== versions"
cli_version="$("$root/usr/bin/datawright-cli" --version)"
gui_version="$(QT_QPA_PLATFORM=offscreen "$root/usr/bin/datawright" --version)"
[ "$cli_version" = "$gui_version" ] || fail "versions differ: '$cli_version' / '$gui_version'"
echo "$cli_version"
echo "package $(basename "$deb") checked"
