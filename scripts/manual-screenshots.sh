#!/bin/sh
# Makes the pictures of the manual (docs/manual/Ovilant-images) again from the
# real editor, drawn offscreen: run it after a change to the windows the manual
# shows. The build folder is the first argument (default build/dev, configured
# here when it is not yet).
set -eu
cd "$(dirname "$0")/.."
build=${1:-build/dev}
if [ ! -f "$build/CMakeCache.txt" ]; then
    cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Debug -DOVILANT_BUILD_BENCH=OFF
fi
cmake --build "$build" --parallel 2 --target ovilant_manual_screenshots
QT_QPA_PLATFORM=offscreen "$build/tests/app/ovilant_manual_screenshots" docs/manual/Ovilant-images
echo "docs/manual/Ovilant-images を作り直しました。"
