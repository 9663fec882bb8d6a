#!/bin/sh
# Installs what is missing, builds everything with AddressSanitizer and
# UndefinedBehaviorSanitizer and runs the whole test suite. Ends with one
# line in plain words; the exit status is ctest's.
set -eu
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
cmake -S . -B build/test -DCMAKE_BUILD_TYPE=Debug -DOVILANT_SANITIZE=ON -DOVILANT_BUILD_TESTS=ON
cmake --build build/test --parallel "$(nproc)"
cd build/test
exec ../../scripts/ctest-summary.sh
