#!/usr/bin/env bash
# Builds the Debian package and installs it on a fresh Debian 12 root made with debootstrap (kept in
# build/debian12-root for later runs), then runs the installed tool there: `zokorvane-tool demo`
# and the program's --help. Needs root (chroot).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
command -v debootstrap >/dev/null || apt-get install -y -qq debootstrap >/dev/null
scripts/build.sh release
(cd build && cpack >/dev/null)
deb=$(ls build/zokorvane_*_amd64.deb | tail -1)
root=build/debian12-root
# The Debian mirror this machine's apt uses: the first one its sources name.
mirror=$({ cat /etc/apt/sources.list /etc/apt/sources.list.d/*.list 2>/dev/null || true; } \
  | awk '$1 == "deb" { for (i = 2; i <= NF; i++) if ($i ~ /^[a-z]+:\/\//) { print $i; exit } }')
if [ -z "$mirror" ]; then
  mirror=$({ cat /etc/apt/sources.list.d/*.sources 2>/dev/null || true; } | awk '$1 == "URIs:" { print $2; exit }')
fi
[ -n "$mirror" ] || { echo "No Debian mirror found in apt's sources." >&2; exit 1; }
if [ ! -x "$root/usr/bin/apt-get" ]; then
  rm -rf "$root"
  debootstrap --variant=minbase bookworm "$root" "$mirror" >/dev/null
fi
cp /etc/resolv.conf "$root/etc/resolv.conf" 2>/dev/null || true
cp "$deb" "$root/tmp/"
mount -t proc proc "$root/proc"
trap 'umount "$root/proc" 2>/dev/null || true' EXIT
chroot "$root" apt-get update -qq
chroot "$root" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "/tmp/$(basename "$deb")" >/dev/null
rm -rf "$root/tmp/demo"
chroot "$root" zokorvane-tool demo /tmp/demo
chroot "$root" env QT_QPA_PLATFORM=offscreen zokorvane --help | head -3
chroot "$root" env QT_QPA_PLATFORM=offscreen timeout 5 zokorvane /tmp/demo/demo.sqlite \
  && echo "zokorvane ended by itself" || { [ $? -eq 124 ] && echo "zokorvane started and ran until stopped"; }
echo "The package installs and runs on a fresh Debian 12."
