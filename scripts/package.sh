#!/usr/bin/env bash
# Builds the launcher's Debian package: installs what building and packaging
# need, configures a Release build of its own in build-package/ and runs
# CPack there. The package lands in build-package/; its path is printed last.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
# dpkg-shlibdeps (dpkg-dev) and file find the libraries the program links.
scripts/install-packages.sh dpkg-dev file

build=build-package
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF
cmake --build "$build" -j2
rm -f "$build"/model-series_*.deb
(cd "$build" && cpack -G DEB)
ls "$PWD/$build"/model-series_*.deb
