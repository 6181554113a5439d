#!/usr/bin/env bash
# Installs the Debian packages the project needs. Idempotent: apt-get update runs only when
# something is missing, and nothing is installed twice.
set -euo pipefail

PACKAGES=(
  build-essential cmake ninja-build pkg-config python3
  libpng-dev zlib1g-dev            # PNG decoding of catalog pages and hall maps
  libdeflate-dev                   # the quick PNG decoder's whole-buffer inflate and CRC
  libgtest-dev                     # unit tests
  qt6-base-dev qt6-base-dev-tools  # the desktop program
  xvfb fonts-noto-cjk              # screenshots and a Japanese UI font
  clang libclang-rt-14-dev llvm    # sanitizer and fuzzing builds (llvm: symbolised reports)
  qt6-translations-l10n            # Qt's own dialogs and buttons in Japanese
  dpkg-dev file                    # cpack -G DEB: dependencies computed from the binaries
  desktop-file-utils appstream lintian  # checks of the package (scripts/check-package.sh)
  dosfstools fusefat fuse3         # FAT32 card images mounted in user space for the card tests
  libcli11-dev                     # the command line of datawright-cli (header-only)
)

missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
echo "installing: ${missing[*]}" >&2
$SUDO apt-get update -qq
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >&2
