#!/usr/bin/env bash
# Builds ZoKorvane and runs every test, offscreen.
#   scripts/test.sh            optimised build
#   scripts/test.sh debug      AddressSanitizer + UndefinedBehaviorSanitizer build
set -euo pipefail
cd "$(dirname "$0")/.."
preset="${1:-release}"
scripts/install-deps.sh
scripts/fetch-test-data.sh
scripts/build.sh "$preset"
ctest --preset "$preset" -j "$(nproc)"
