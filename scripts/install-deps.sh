#!/usr/bin/env bash
# Installs, with apt-get, whatever this machine lacks to build, run and test ZoKorvane.
# Packages already present are left alone, so a second run costs a second.
set -euo pipefail

packages=(
  cmake g++ make pkg-config ccache
  qt6-base-dev qt6-base-dev-tools libqt6sql6-sqlite libqt6sql6-psql libpq-dev postgresql libsqlite3-dev libgl-dev
  qt6-l10n-tools qt6-tools-dev qt6-translations-l10n
  mdbtools-dev
  clang-format clang-tidy sqlite3 poppler-utils
  clang libclang-rt-14-dev
  libdcmtk-dev libnifti2-dev python3-pydicom dcm2niix
  libinsighttoolkit5-dev mricron-data
  xvfb xauth
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
# npm fetches test data only; any npm on the PATH will do.
command -v npm >/dev/null 2>&1 || missing+=(npm)
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
