#!/bin/sh
# Installs what is missing, builds the release programs (in build/release,
# the folder ./scripts/run.sh builds, so an existing build is reused) and
# writes the Debian package build/package/ovilant_VERSION_ARCH.deb, then
# checks it with lintian when that is installed. Install it with
#   sudo apt install ./build/package/ovilant_*.deb
set -eu
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release -DOVILANT_BUILD_TESTS=OFF -DOVILANT_BUILD_BENCH=OFF
cmake --build build/release --parallel "$(nproc)"
mkdir -p build/package
cd build/release
rm -f ovilant_*.deb
cpack -G DEB -B "$PWD/../package"
cd ../package
rm -rf _CPack_Packages
deb=$(ls -t ovilant_*.deb | head -n 1)
# Debian's own package checker must find no error.
if ! command -v lintian >/dev/null 2>&1 && [ "$(id -u)" -eq 0 ]; then
    DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends lintian >/dev/null
fi
if command -v lintian >/dev/null 2>&1; then
    lintian --fail-on error "$deb"
else
    echo "lintian がないため検査を省きました (sudo apt-get install lintian)"
fi
echo "パッケージ: $PWD/$deb"
