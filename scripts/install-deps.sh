#!/bin/sh
# Installs the Debian packages that building, running and testing Ovilant need,
# and what the table generators in tools/ read: python3, the CMaps of
# poppler-data, the IPA fonts and groff's PostScript font metrics. locales
# gives localedef the sources to build the comma-decimal locale of the tests.
# fonts-noto-cjk is the font PDF viewers draw plan files with (the font rule).
# As root the missing ones are installed with apt-get; otherwise the command to
# run is printed and the script fails, so nothing half-configured is built.
set -eu

PACKAGES="cmake g++ make pkg-config
qt6-base-dev qt6-base-dev-tools qt6-qpa-plugins libgl-dev
libgtest-dev libgmock-dev libbenchmark-dev
libjpeg-dev nlohmann-json3-dev
qpdf poppler-utils poppler-data locales
fonts-ipafont-gothic fonts-noto-cjk groff-base python3
qt6-translations-l10n desktop-file-utils appstream dpkg-dev file"

missing=""
for p in $PACKAGES; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing="$missing $p"
    fi
done

[ -z "$missing" ] && exit 0

if [ "$(id -u)" -eq 0 ]; then
    echo "Installing:$missing"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq || true
    # shellcheck disable=SC2086
    apt-get install -y --no-install-recommends $missing
else
    echo "Missing packages. Install them with:"
    echo "  sudo apt-get install -y --no-install-recommends$missing"
    exit 1
fi
