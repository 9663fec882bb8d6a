#!/bin/sh
# Installs what is missing, builds the editor and launches it.
set -eu
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release -DOVILANT_BUILD_TESTS=OFF
cmake --build build/release --parallel "$(nproc)" --target ovilant
exec ./build/release/src/app/ovilant "$@"
