#!/bin/sh
# Installs what is missing, builds the release programs and writes the
# Debian package build/package/ovilant_VERSION_ARCH.deb. Install it with
#   sudo apt install ./build/package/ovilant_*.deb
set -eu
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
cmake -S . -B build/package -DCMAKE_BUILD_TYPE=Release \
    -DOVILANT_BUILD_TESTS=OFF -DOVILANT_BUILD_BENCH=OFF
cmake --build build/package --parallel "$(nproc)"
cd build/package
rm -f ovilant_*.deb
cpack -G DEB
echo "パッケージ: $PWD/$(ls ovilant_*.deb)"
