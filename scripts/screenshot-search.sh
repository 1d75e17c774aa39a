#!/usr/bin/env bash
# Screenshot of the launcher's search page under a given locale, taken under
# Xvfb with a throw-away home folder. Never presses anything.
#   scripts/screenshot-search.sh zh_TW.UTF-8 docs/screenshots/search-zh-tw.png [build dir]
set -euo pipefail
locale=${1:?locale, e.g. zh_TW.UTF-8}
out=${2:?output png}
build=${3:-build}

home=$(mktemp -d /tmp/launcher-shot-home-XXXXXX)
raw=$(mktemp /tmp/launcher-shot-XXXXXX.png)
trap 'rm -rf "$home" "$raw"' EXIT

inner=$(cat <<'INNER'
"$BUILD/model-series" >/dev/null 2>&1 &
app=$!
sleep "${SHOT_DELAY:-6}"
import -window root "$RAW"
kill "$app"
wait "$app" 2>/dev/null || true
INNER
)

env -u LANGUAGE HOME="$home" LANG="$locale" LC_ALL="$locale" QTWEBENGINE_DISABLE_SANDBOX=1 \
    BUILD="$build" RAW="$raw" \
    xvfb-run -a -s '-screen 0 1920x1080x24' bash -c "$inner"
mkdir -p "$(dirname "$out")"
# The window sits on a black root: keep only the window.
convert "$raw" -trim +repage "$out"
echo "wrote $out"
