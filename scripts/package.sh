#!/usr/bin/env bash
# Builds the launcher's Debian package: installs what building and packaging
# need, configures a Release build of its own in build-package/ and runs
# CPack there. The package lands in build-package/; its path is printed last.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
# dpkg-shlibdeps (dpkg-dev) and file find the libraries the program links.
scripts/install-packages.sh dpkg-dev file

# The preset "package" of CMakePresets.json: build-package/, warnings count as errors.
build=build-package
cmake --preset package
cmake --build --preset package -j2
rm -f "$build"/model-series_*.deb
(cd "$build" && cpack -G DEB)
ls "$PWD/$build"/model-series_*.deb
