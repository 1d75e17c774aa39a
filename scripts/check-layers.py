#!/usr/bin/env python3
"""Checks that every product file includes headers of its own layer or of the
layers below it only (see ARCHITECTURE.md). The layer of a file is the
library it is built into, read from CMakeLists.txt, not its folder."""
import re
import sys
from pathlib import Path

root = Path(__file__).resolve().parent.parent
layers = ["modelseries_core", "modelseries_chrome", "modelseries_demo",
          "modelseries_console", "modelseries_app"]
# The demo does not use the console, nor the console the start-up; the demo
# may use the chrome. Allowed: same or lower rank.
cmake = (root / "CMakeLists.txt").read_text()
layer_of = {}
for rank, target in enumerate(layers):
    match = re.search(r"qt_add_library\(" + target + r" STATIC(.*?)\)", cmake, re.S)
    if not match:
        sys.exit(f"{target} not found in CMakeLists.txt")
    for name in match.group(1).split():
        layer_of[name] = rank
layer_of["app/main.cpp"] = len(layers)

failures = []
for source, rank in sorted(layer_of.items()):
    text = (root / source).read_text()
    for header in re.findall(r'^#include "([^"]+)"', text, re.M):
        if header not in layer_of:
            failures.append(f"{source}: includes {header}, which no library lists")
        elif layer_of[header] > rank:
            failures.append(f"{source} ({layers[rank]}) includes {header} "
                            f"({layers[layer_of[header]]})")
print("\n".join(failures) or f"{len(layer_of)} files, every include runs downwards")
sys.exit(1 if failures else 0)
