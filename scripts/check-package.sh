#!/usr/bin/env bash
# Checks the Debian package the way a user meets it: builds it
# (scripts/package.sh), installs it with apt-get, validates the installed menu
# entry and AppStream metadata, starts the installed program under Xvfb and
# checks that it stays up and shows its window, then removes the package and
# checks that nothing of it is left. Needs root (it installs into /usr).
# The program runs in a network namespace of its own with nothing but
# loopback, so whatever it does, nothing leaves the machine.
#   scripts/check-package.sh [--screenshot FILE]
set -euo pipefail
cd "$(dirname "$0")/.."

screenshot=$PWD/build-package/installed.png
if [[ ${1:-} == --screenshot ]]; then
    screenshot=$(realpath -m "${2:?--screenshot needs a file name}")
fi
if [[ $(id -u) -ne 0 ]]; then
    echo "check-package.sh installs a package and needs root" >&2
    exit 1
fi

package=model-series
id=io.github.modelseries.ModelSeries
# The build's output goes on to our standard error as it comes: through the
# descriptor itself, since tee reopening /dev/stderr would truncate a log file
# that holds everything printed before it.
deb=$(scripts/package.sh | tee >(cat >&2) | tail -n 1)
scripts/install-packages.sh desktop-file-utils appstream xvfb xauth xdotool imagemagick iproute2

fail() {
    echo "check-package.sh: $*" >&2
    exit 1
}
installed() { dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; }

installed && apt-get remove -y "$package"
apt-get install -y "$deb"
installed || fail "$package is not installed"

for file in /usr/bin/model-series \
    /usr/share/applications/$id.desktop \
    /usr/share/metainfo/$id.metainfo.xml \
    /usr/share/icons/hicolor/scalable/apps/$id.svg \
    /usr/share/icons/hicolor/48x48/apps/$id.png \
    /usr/share/$package/customization/config.ini \
    /usr/share/doc/$package/copyright; do
    [[ -f $file ]] || fail "$file is missing"
done
desktop-file-validate /usr/share/applications/$id.desktop
appstreamcli validate --no-net --pedantic /usr/share/metainfo/$id.metainfo.xml

# Start the installed program (nothing pressed, so it never searches), wait
# for its window, check that it is still running a few seconds later, and
# take a picture of the screen.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cat >"$work/run.sh" <<'INNER'
set -euo pipefail
ip link set lo up
HOME=$1 QTWEBENGINE_DISABLE_SANDBOX=1 LC_ALL=C.UTF-8 /usr/bin/model-series >"$1/log" 2>&1 &
app=$!
window=$(timeout 60 xdotool search --sync --onlyvisible --pid "$app" | head -n 1)
[[ -n $window ]] || { echo "no window shown" >&2; exit 1; }
sleep 5
kill -0 "$app" || { echo "the program ended on its own" >&2; cat "$1/log" >&2; exit 1; }
echo "window: $(xdotool getwindowname "$window")"
import -window root "$2"
kill "$app"
wait "$app" || true
INNER
mkdir -p "$(dirname "$screenshot")"
unshare --net xvfb-run -a -s '-screen 0 1280x800x24' bash "$work/run.sh" "$work" "$screenshot" ||
    fail "the installed program did not start and stay up"
echo "screenshot: $screenshot"

apt-get remove -y "$package"
! installed || fail "$package is still installed"
for path in /usr/bin/model-series /usr/share/$package /usr/share/doc/$package \
    /usr/share/applications/$id.desktop /usr/share/metainfo/$id.metainfo.xml \
    /usr/share/icons/hicolor/scalable/apps/$id.svg; do
    [[ ! -e $path ]] || fail "$path is left after removal"
done
echo "check-package.sh: the package installs, validates, starts and removes cleanly"
