#!/usr/bin/env bash
# Fails when a file includes a header of a folder that is not below its own (cmake/layers.txt), in
# "x/Y.h" or <x/Y.h> form and in the headers .ui files name, and refuses any include path holding a
# "." or ".." part: a compiler resolves those beside the including file or through the include
# root's links, where "core/../app/X.h" reaches app/. The build enforces the layers through each
# library's include path; this is the fast first check, and the only one for a path through "..".
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
            if "." in name.split("/") or ".." in name.split("/"):
                bad.append(f"{path}:{number}: includes {name}; name the header by its folder, without . or ..")
                continue
            used = name.split("/")[0]
            if used in rank and used != top and rank[used] >= rank[top]:
                bad.append(f"{path}:{number}: {top}/ includes {name}, which is not below it")
if bad:
    print("\n".join(bad))
    sys.exit(1)
print("layers: every include points downwards")
PY
