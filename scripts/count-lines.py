#!/usr/bin/env python3
"""Counts the code lines (neither blank nor comment) of the tracked .cpp .h
.qml .py .sh files: the tests, the product and everything else, and the
share the suite's size is held to: tests at most a third of the rest (the
product and everything else). Exits 1 when it is over that bound."""
import subprocess
import sys
from pathlib import Path

PRODUCT = ("app/", "console/", "chrome/", "demo/", "resources/")
SUFFIXES = (".cpp", ".h", ".qml", ".py", ".sh")


def code_lines(path):
    hash_comments = path.suffix in (".py", ".sh")
    count = 0
    in_block = False
    for line in path.read_text(encoding="utf-8", errors="replace").splitlines():
        text = line.strip()
        if in_block:
            if "*/" in text:
                in_block = False
            continue
        if not text or text.startswith("//"):
            continue
        if hash_comments and text.startswith("#"):
            continue
        if not hash_comments and text.startswith("/*"):
            in_block = "*/" not in text
            continue
        count += 1
    return count


def main():
    root = Path(__file__).resolve().parent.parent
    files = subprocess.run(["git", "ls-files"], cwd=root, check=True, capture_output=True,
                           text=True).stdout.split()
    totals = {"tests": 0, "product": 0, "rest": 0}
    for name in files:
        if not name.endswith(SUFFIXES) or not (root / name).is_file():
            continue
        kind = "tests" if name.startswith("tests/") else (
            "product" if name.startswith(PRODUCT) else "rest")
        totals[kind] += code_lines(root / name)
    rest = totals["product"] + totals["rest"]
    print(f"tests {totals['tests']}  product {totals['product']}  other {totals['rest']}")
    print(f"tests / rest {totals['tests'] / rest:.4f} (at most 0.3333)")
    return 0 if 3 * totals["tests"] <= rest else 1


if __name__ == "__main__":
    sys.exit(main())
