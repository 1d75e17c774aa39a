#!/usr/bin/env bash
# scripts/start.sh started through sudo runs the launcher as the user who
# called sudo, with the web engine's sandbox on; a plain root login runs it
# as root with the sandbox off. Run as root: the script's own copy runs with
# stand-ins for the install, the build and the launcher, which records who it
# runs as and what it was given.
set -euo pipefail
[ "$(id -u)" -eq 0 ] || { echo "SKIP: needs root"; exit 0; }
here=$(cd "$(dirname "$0")/../.." && pwd)
user=launcher-test
id "$user" >/dev/null 2>&1 ||
  useradd --system --user-group --no-create-home --shell /usr/sbin/nologin "$user"

tree=$(mktemp -d)
trap 'rm -rf "$tree"' EXIT
chmod 755 "$tree"
mkdir -p "$tree/scripts" "$tree/build" "$tree/bin"
cp "$here/scripts/start.sh" "$tree/scripts/"
printf '#!/bin/sh\nexit 0\n' > "$tree/scripts/install-deps.sh"
printf '#!/bin/sh\nexit 0\n' > "$tree/bin/cmake"
cat > "$tree/build/model-series" <<'STUB'
#!/bin/sh
echo "user=$(id -un) home=$HOME sandbox-off=${QTWEBENGINE_DISABLE_SANDBOX:-} args=$*" > "$RECORD"
STUB
chmod 755 "$tree/scripts/"*.sh "$tree/bin/cmake" "$tree/build/model-series"
record="$tree/record"
touch "$record" && chmod 666 "$record"
home=$(getent passwd "$user" | cut -d: -f6)

failed=0
check() {  # check NAME EXPECTED [VAR=VALUE...]
  local name=$1 expected=$2
  shift 2
  : > "$record"
  env -u SUDO_USER -u QTWEBENGINE_DISABLE_SANDBOX PATH="$tree/bin:$PATH" RECORD="$record" "$@" \
    bash "$tree/scripts/start.sh" --one two 2>/dev/null || true
  if [ "$(cat "$record")" = "$expected" ]; then
    echo "PASS: $name"
  else
    echo "FAIL: $name: got '$(cat "$record")', expected '$expected'"
    failed=$((failed + 1))
  fi
}
check "through sudo" "user=$user home=$home sandbox-off= args=--one two" SUDO_USER="$user"
check "root login" "user=root home=$HOME sandbox-off=1 args=--one two"
check "sudo from root" "user=root home=$HOME sandbox-off=1 args=--one two" SUDO_USER=root
echo "$((3 - failed)) passed, $failed failed"
[ "$failed" -eq 0 ]
