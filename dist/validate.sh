#!/bin/sh
# Validates the desktop entry and the AppStream metadata without the network.
# Usage: validate.sh DIST_DIR APP_ID. Exits 77 (skipped) when a validator is
# not installed (scripts/install-deps.sh installs both).
set -u
dir=$1
id=$2
for tool in desktop-file-validate appstreamcli; do
    if ! command -v "$tool" >/dev/null 2>&1; then
        echo "$tool is not installed"
        exit 77
    fi
done
status=0
desktop-file-validate "$dir/$id.desktop" || status=1
appstreamcli validate --no-net "$dir/$id.metainfo.xml" || status=1
exit $status
