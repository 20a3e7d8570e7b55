#!/usr/bin/env bash
# Runs clang-tidy (.clang-tidy at the root) over every .cpp of the product, the tests and the tools
# that the optimised build compiles, and fails on any finding. The build is configured when it is
# not, and only the generated moc_ and ui_ headers are built, so a clean clone needs no full build.
#   scripts/check-tidy.sh              the whole tree
#   scripts/check-tidy.sh FILE...      only these files (paths from the root)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
build=build
command -v clang-tidy >/dev/null || { echo "clang-tidy is missing: scripts/install-deps.sh installs it" >&2; exit 1; }
[ -f "$build/compile_commands.json" ] || cmake --preset release >/dev/null
# The sources include the headers AUTOMOC and AUTOUIC write; build those targets alone.
mapfile -t autogen < <(cmake --build "$build" --target help | sed -n 's/^\.\.\. \([A-Za-z0-9_.-]*_autogen\)$/\1/p')
[ ${#autogen[@]} -eq 0 ] || cmake --build "$build" -j "$(nproc)" --target "${autogen[@]}" >/dev/null

if [ $# -gt 0 ]; then
  files=("$@")
else
  # Every compiled .cpp of the source tree, without what the build generates (under build/).
  mapfile -t files < <(python3 - "$root" "$build/compile_commands.json" <<'PY'
import json, os, sys
root, db = sys.argv[1], sys.argv[2]
seen = set()
for entry in json.load(open(db, encoding="utf-8")):
    path = os.path.normpath(os.path.join(entry["directory"], entry["file"]))
    rel = os.path.relpath(path, root)
    if rel.startswith("..") or rel.split(os.sep)[0].startswith("build") or not rel.endswith(".cpp"):
        continue
    # ITK 5.2's headers stop any compiler but GCC with "#error Unsupported compiler", clang-tidy's
    # too; ITK is private to this one file, which the sanitizer build and the fuzzers still cover.
    if rel == os.path.join("brain", "Registration.cpp"):
        continue
    seen.add(rel)
print("\n".join(sorted(seen)))
PY
  )
fi
echo "clang-tidy: ${#files[@]} files"
start=$SECONDS
status=0
printf '%s\0' "${files[@]}" |
  xargs -0 -n 1 -P "$(nproc)" clang-tidy -p "$build" --quiet 2>/dev/null || status=$?
echo "clang-tidy: $((SECONDS - start)) s"
if [ $status -ne 0 ]; then
  echo "clang-tidy: findings above (each one fails the check)" >&2
  exit 1
fi
