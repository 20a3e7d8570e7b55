#!/usr/bin/env bash
# Fails when a file includes a header of a folder above its own: each folder may use only the
# folders listed before it (folders on one line are peers and do not use each other).
set -euo pipefail
cd "$(dirname "$0")/.."
python3 - <<'PY'
import re, subprocess, sys
layers = [["core"], ["data"], ["drawings"], ["imaging", "widgets"], ["subjects", "experiments", "mr"], ["results"],
          ["app"], ["tools"], ["bench", "fuzz"]]
rank = {folder: i for i, row in enumerate(layers) for folder in row}
bad = []
for path in subprocess.check_output(["git", "ls-files", "*.h", "*.cpp"], text=True).split():
    top = path.split("/")[0]
    if top not in rank:
        continue
    for number, line in enumerate(open(path, encoding="utf-8"), 1):
        m = re.match(r'\s*#\s*include\s+"([a-z]+)/', line)
        if m and m.group(1) in rank and m.group(1) != top and rank[m.group(1)] >= rank[top]:
            bad.append(f"{path}:{number}: {top}/ includes {m.group(1)}/, which is not below it")
if bad:
    print("\n".join(bad))
    sys.exit(1)
print("layers: every include points downwards")
PY
