#!/bin/sh
# Runs ctest in the current folder (a build folder) and ends with one line
# in plain words: "すべてのテストに合格しました (N件)" or "N件中M件のテストが
# 失敗しました", after the optional PREFIX given as the first argument. The
# exit status is ctest's. test.sh and windows.sh end with it. Words in
# OVILANT_CTEST_ARGS are handed to ctest as well.
set -eu
prefix=${1:-}
log=$(mktemp)
trap 'rm -f "$log" "$log.status"' EXIT
{
    code=0
    # shellcheck disable=SC2086
    ctest --output-on-failure --parallel "$(nproc)" ${OVILANT_CTEST_ARGS:-} || code=$?
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
    echo "${prefix}テストの結果を読み取れませんでした (終了ステータス $status)"
    [ "$status" -ne 0 ] || status=1
elif [ "$status" -eq 0 ] && [ "$failed" = 0 ]; then
    if [ "$skipped" -gt 0 ]; then
        echo "${prefix}すべてのテストに合格しました (${total}件、うち${skipped}件は実行されず)"
    else
        echo "${prefix}すべてのテストに合格しました (${total}件)"
    fi
else
    echo "${prefix}${total}件中${failed}件のテストが失敗しました"
fi
exit "$status"
