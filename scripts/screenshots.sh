#!/usr/bin/env bash
# Regenerates the screenshots of the README walkthrough in docs/: the windows on the demo study,
# under Xvfb, and the first page of the demo subject's report.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh release
cmake --build build --target zk-screenshots
xvfb-run -a -s "-screen 0 1600x1000x24" build/tools/zk-screenshots docs
pdftoppm -png -r 70 -f 1 -l 1 -singlefile docs/07-report.pdf docs/07-report
rm -f docs/07-report.pdf
