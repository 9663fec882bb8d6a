#!/bin/sh
# Installs the Debian packages that building, running and testing Ovilant need,
# and what the table generators in tools/ read: python3, the CMaps of
# poppler-data, the IPA fonts and groff's PostScript font metrics. locales
# gives localedef the sources to build the comma-decimal locale of the tests.
# fonts-noto-cjk is the font PDF viewers draw plan files with (the font rule).
# install-packages.sh installs the missing ones (as root) or prints the
# command to run.
set -eu

PACKAGES="cmake g++ make pkg-config
qt6-base-dev qt6-base-dev-tools qt6-qpa-plugins libgl-dev
libgtest-dev libgmock-dev libbenchmark-dev
libjpeg-dev nlohmann-json3-dev
qpdf poppler-utils poppler-data locales
fonts-ipafont-gothic fonts-noto-cjk groff-base python3
qt6-translations-l10n desktop-file-utils appstream dpkg-dev file ccache"

# shellcheck disable=SC2086
exec "$(dirname "$0")/install-packages.sh" $PACKAGES
