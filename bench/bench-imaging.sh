#!/usr/bin/env bash
# Imaging speed: writes a 200-slice 256 x 256 phantom series, loads it with `zokorvane-tool
# load-series` (DICOM to JPEG to BMP, then stacking), and times 100 renders each of a z cut, a y cut
# and the 3D side view of the stacked volume.
#
# usage: bench/bench-imaging.sh [BUILD-DIR]     (default: build)
set -euo pipefail

here="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$here/build}"
cmake --build "$build" --target zokorvane-tool zk-bench-imaging >/dev/null

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

"$build/tools/zokorvane-tool" phantom "$work/series" --slices 200 --size 256 --spacing 1 --thickness 1
echo "== load-series (both cores)"
"$build/tools/zokorvane-tool" load-series "$work/series" | grep -A4 -E '"seconds"|"dimensions"' | tr -d '\n ' ; echo
rm -f "$work"/series/*.jpg "$work"/series/*.bmp
echo "== load-series (one thread)"
"$build/tools/zokorvane-tool" load-series "$work/series" --threads 1 | grep -A4 '"seconds"' | tr -d '\n ' ; echo
echo "== renders"
"$build/imaging/zk-bench-imaging" "$work/series" 100
