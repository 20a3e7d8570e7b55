#!/usr/bin/env bash
# Configures and builds one preset (release by default) into build/ or build-debug/.
set -euo pipefail
cd "$(dirname "$0")/.."
preset="${1:-release}"
# Paths inside the tree are hashed relative to it, so clones in other folders share ccache's objects.
export CCACHE_BASEDIR="${CCACHE_BASEDIR:-$PWD}"
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset" -j "$(nproc)"
