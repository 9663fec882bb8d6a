#!/bin/sh
# Installs the Debian packages named as arguments that are not installed
# yet. As root the missing ones are installed with apt-get; otherwise the
# command to run is printed and the script fails, so nothing half-configured
# is built.
set -eu

missing=""
for p in "$@"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing="$missing $p"
    fi
done

[ -z "$missing" ] && exit 0

if [ "$(id -u)" -eq 0 ]; then
    echo "Installing:$missing"
    export DEBIAN_FRONTEND=noninteractive
    # Another apt run (a second build script, an update) holds the lock for
    # a while: wait for it rather than fail.
    lock="-o DPkg::Lock::Timeout=1200"
    # shellcheck disable=SC2086
    apt-get $lock update -qq || true
    # shellcheck disable=SC2086
    apt-get $lock install -y --no-install-recommends $missing
else
    echo "Missing packages. Install them with:"
    echo "  sudo apt-get install -y --no-install-recommends$missing"
    exit 1
fi
