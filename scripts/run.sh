#!/bin/sh
# Installs what is missing, builds the editor and the command-line tool and
# launches the editor (arguments are passed on: a plan file to open).
set -eu
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release -DOVILANT_BUILD_TESTS=OFF -DOVILANT_BUILD_BENCH=OFF
cmake --build build/release --parallel "$(nproc)" --target ovilant ovilant-plan
echo "エディタ:               $PWD/build/release/src/app/ovilant"
echo "コマンドラインツール:   $PWD/build/release/src/cli/ovilant-plan"
exec ./build/release/src/app/ovilant "$@"
