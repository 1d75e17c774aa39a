#!/usr/bin/env bash
# Checks that every tracked C++ file is laid out as .clang-format says, with
# the clang-format of Debian 12 (14), whose output the tree follows. Prints
# each place that differs and fails; `clang-format-14 -i FILE` mends it.
set -euo pipefail
cd "$(dirname "$0")/.."

git rev-parse --is-inside-work-tree >/dev/null ||
    { echo "check-format.sh: needs a git checkout for the list of tracked files" >&2; exit 1; }
git ls-files -z -- '*.cpp' '*.h' | xargs -0 clang-format-14 --dry-run -Werror --style=file
