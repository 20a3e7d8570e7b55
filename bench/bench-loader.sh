#!/usr/bin/env bash
# The loader on a head whose files are windowed each on its own, as scanners write them: writes a
# 181-slice 256 x 256 phantom head with per-slice windows, loads it five times with
# `zokorvane-tool load-series` (each a first load: an empty picture cache) and converts it five times
# with Debian's dcm2niix (a fresh output folder each time); prints the median time until the volume is
# ready against dcm2niix's whole conversion, then the correlation of the volume held with dcm2niix's
# NIfTI and the spread of slice brightness (zk-bench-correlation).
#
# usage: bench/bench-loader.sh [BUILD-DIR]
#        ZK_TOOL=/other/zokorvane-tool bench/bench-loader.sh   (another build's loader, for comparison)
set -euo pipefail

here="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$here/build}"
cmake --build "$build" --target zokorvane-tool zk-bench-correlation >/dev/null
command -v dcm2niix >/dev/null || { echo "dcm2niix is missing: scripts/install-deps.sh installs it" >&2; exit 1; }
tool="$build/tools/zokorvane-tool"
loader="${ZK_TOOL:-$tool}"

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
export XDG_CACHE_HOME="$work/cache"

"$tool" phantom "$work/series" --slices 181 --size 256 --spacing 1 --thickness 1 --own-windows >/dev/null
json() { python3 -c 'import json,sys; print(json.load(open(sys.argv[1]))[sys.argv[2]][sys.argv[3]])' "$@"; }
now() { date +%s.%N; }
volume=() theirs=()
for run in 1 2 3 4 5; do
  rm -rf "$XDG_CACHE_HOME"
  "$loader" load-series "$work/series" --export-volume "$work/held.nii" > "$work/load.json"
  volume+=("$(json "$work/load.json" seconds volume)")
  rm -rf "$work/nii" && mkdir "$work/nii"
  start=$(now)
  dcm2niix -o "$work/nii" -f head "$work/series" >/dev/null
  theirs+=("$(echo "$(now) - $start" | bc)")
done
median() { printf '%s\n' "$@" | sort -g | sed -n 3p; }
m_volume=$(median "${volume[@]}")
m_theirs=$(median "${theirs[@]}")
echo "loader: $loader"
echo "volume ready (load-series): ${volume[*]} s; median $m_volume s"
echo "dcm2niix, whole command:     ${theirs[*]} s; median $m_theirs s"
echo "ratio volume ready / dcm2niix (medians): $(echo "scale=2; $m_volume / $m_theirs" | bc)"
"$build/bench/zk-bench-correlation" "$work/held.nii" "$work/nii/head.nii"
