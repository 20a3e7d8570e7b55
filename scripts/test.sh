#!/usr/bin/env bash
# Builds ZoKorvane and runs every test, offscreen.
#   scripts/test.sh            optimised build
#   scripts/test.sh debug      AddressSanitizer + UndefinedBehaviorSanitizer build
# A skip that tests/expected-skips.txt does not list fails the run; every skip is listed at the end.
set -euo pipefail
cd "$(dirname "$0")/.."
preset="${1:-release}"
scripts/install-deps.sh
scripts/fetch-test-data.sh
scripts/build.sh "$preset"
build=build
[ "$preset" = release ] || build="build-$preset"
# Every test's whole output goes to the JUnit file, where the skips are read from: a skip that the
# allow-list does not expect fails the run.
ctest --preset "$preset" -j "$(nproc)" --output-junit ctest-junit.xml \
  --test-output-size-passed 4000000 --test-output-size-failed 4000000
scripts/check-skips.py "$build/ctest-junit.xml" tests/expected-skips.txt
