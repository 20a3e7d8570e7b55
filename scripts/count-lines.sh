#!/usr/bin/env bash
# Counts the lines of C++ that are neither blank nor comment: product code (every source and header
# outside tests/, bench/, fuzz/ and build folders) against tests/, and the tests' share of the product.
set -euo pipefail
cd "$(dirname "$0")/.."
python3 - <<'PY'
import re, subprocess
def code_lines(path):
    count, in_block = 0, False
    for line in open(path, encoding="utf-8", errors="replace"):
        text = line.strip()
        rest = ""
        while text:
            if in_block:
                end = text.find("*/")
                if end < 0:
                    text = ""
                    break
                text, in_block = text[end + 2:].strip(), False
                continue
            if text.startswith("//"):
                break
            if text.startswith("/*"):
                text, in_block = text[2:], True
                continue
            rest = text
            break
        if rest:
            count += 1
    return count
files = subprocess.check_output(["git", "ls-files", "-co", "--exclude-standard",
                                 "*.cpp", "*.h", "*.hpp", "*.cc"], text=True).split()
product = tests = 0
for path in files:
    top = path.split("/")[0]
    if top in ("bench", "fuzz") or top.startswith("build"):
        continue
    if top == "tests":
        tests += code_lines(path)
    else:
        product += code_lines(path)
print(f"product {product}")
print(f"tests   {tests}")
print(f"ratio   {tests / product:.3f}")
PY
