#!/usr/bin/env bash
# Fails when a file includes a header of a folder that is not below its own (cmake/layers.txt): in
# any form, "x/Y.h", <x/Y.h> or a path through "..", and in the headers .ui files name. The build
# enforces the same through each library's include path; this is the fast first check, and the only
# one for a path through "..", which a compiler resolves beside the including file.
set -euo pipefail
cd "$(dirname "$0")/.."
python3 - <<'PY'
import os, re, subprocess, sys
layers = [line.split() for line in open("cmake/layers.txt", encoding="utf-8")
          if line.strip() and not line.startswith("#")]
rank = {folder: i for i, row in enumerate(layers) for folder in row}
include = re.compile(r'\s*#\s*include\s*[<"]([^>"]+)[>"]')
header = re.compile(r'<header[^>]*>([^<]+)</header>')
bad = []
for path in subprocess.check_output(["git", "ls-files", "*.h", "*.cpp", "*.ui"], text=True).split():
    top = path.split("/")[0]
    if top not in rank:
        continue
    pattern = header if path.endswith(".ui") else include
    for number, line in enumerate(open(path, encoding="utf-8"), 1):
        for name in pattern.findall(line) if path.endswith(".ui") else [m.group(1) for m in [pattern.match(line)] if m]:
            # A path through ".." is taken from the including file's folder, as the compiler does.
            target = os.path.normpath(os.path.join(os.path.dirname(path), name)) if name.startswith(".") else name
            used = target.split("/")[0]
            if used in rank and used != top and rank[used] >= rank[top]:
                bad.append(f"{path}:{number}: {top}/ includes {name}, which is not below it")
if bad:
    print("\n".join(bad))
    sys.exit(1)
print("layers: every include points downwards")
PY
