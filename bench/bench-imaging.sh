#!/usr/bin/env bash
# Imaging speed: writes a 200-slice 256 x 256 phantom series, then loads it five times with
# `zokorvane-tool load-series` (each a first load: an empty picture cache) and converts it five times
# with Debian's dcm2niix (default options, a fresh output folder each time), side by side; prints the
# median wall time of each, the loader's own figures (volume ready, as the loader window shows it;
# cache pictures written after it, in the background) and the ratios. Last, 100 renders each
# of a z cut, a y cut and the 3D side view of the loaded volume.
#
# usage: bench/bench-imaging.sh [BUILD-DIR]     (default: build)
set -euo pipefail

here="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$here/build}"
cmake --build "$build" --target zokorvane-tool zk-bench-imaging >/dev/null
command -v dcm2niix >/dev/null || { echo "dcm2niix is missing: scripts/install-deps.sh installs it" >&2; exit 1; }
tool="$build/tools/zokorvane-tool"

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
export XDG_CACHE_HOME="$work/cache"

"$tool" phantom "$work/series" --slices 200 --size 256 --spacing 1 --thickness 1 --orientation axial
now() { date +%s.%N; }
ours=() theirs=() volume=() cache=()
for run in 1 2 3 4 5; do
  rm -rf "$XDG_CACHE_HOME"
  start=$(now)
  "$tool" load-series "$work/series" > "$work/load.json"
  ours+=("$(echo "$(now) - $start" | bc)")
  volume+=("$(python3 -c 'import json,sys; print(json.load(open(sys.argv[1]))["seconds"]["volume"])' "$work/load.json")")
  cache+=("$(python3 -c 'import json,sys; print(json.load(open(sys.argv[1]))["seconds"]["cache"])' "$work/load.json")")
  rm -rf "$work/nii" && mkdir "$work/nii"
  start=$(now)
  dcm2niix -o "$work/nii" "$work/series" >/dev/null
  theirs+=("$(echo "$(now) - $start" | bc)")
done
median() { printf '%s\n' "$@" | sort -g | sed -n 3p; }
m_ours=$(median "${ours[@]}")
m_theirs=$(median "${theirs[@]}")
m_volume=$(median "${volume[@]}")
echo "load-series, whole command: ${ours[*]} s; median $m_ours s"
echo "  of it, until the volume is ready: median $m_volume s; cache pictures after it: median $(median "${cache[@]}") s"
echo "dcm2niix, whole command:    ${theirs[*]} s; median $m_theirs s"
echo "ratio volume ready / dcm2niix (medians): $(echo "scale=2; $m_volume / $m_theirs" | bc)"
echo "ratio load-series whole command / dcm2niix (medians): $(echo "scale=2; $m_ours / $m_theirs" | bc)"
echo "== renders"
"$build/bench/zk-bench-imaging" "$(python3 -c 'import json,sys; print(json.load(open(sys.argv[1]))["cacheFolder"])' "$work/load.json")" 100
