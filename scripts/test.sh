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
log=$(mktemp)
trap 'rm -f "$log" "$log.status"' EXIT
{
    code=0
    ctest --output-on-failure --parallel "$(nproc)" || code=$?
    echo "$code" >"$log.status"
} 2>&1 | tee "$log"
status=$(cat "$log.status")
# ctest's own summary: "100% tests passed, 0 tests failed out of 123".
summary=$(grep -E '^[0-9]+% tests passed, [0-9]+ tests? failed out of [0-9]+' "$log" | tail -n 1 || true)
total=$(echo "$summary" | sed -n 's/.* out of \([0-9]*\).*/\1/p')
failed=$(echo "$summary" | sed -n 's/.*passed, \([0-9]*\) tests\{0,1\} failed.*/\1/p')
skipped=$(grep -c '(Skipped)' "$log" || true)
echo
if [ -z "$total" ]; then
    echo "テストの結果を読み取れませんでした (終了ステータス $status)"
elif [ "$status" -eq 0 ] && [ "$failed" = 0 ]; then
    if [ "$skipped" -gt 0 ]; then
        echo "すべてのテストに合格しました (${total}件、うち${skipped}件は実行されず)"
    else
        echo "すべてのテストに合格しました (${total}件)"
    fi
else
    echo "${total}件中${failed}件のテストが失敗しました"
fi
exit "$status"
