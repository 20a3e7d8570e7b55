#!/usr/bin/env bash
# Builds ZoKorvane, creates the demo study on first use and starts the program with it open.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh release
study="$PWD/demo/demo.sqlite"
if [ ! -f "$study" ]; then
  build/tools/zokorvane-tool demo "$PWD/demo"
fi
exec build/app/zokorvane "$study"
