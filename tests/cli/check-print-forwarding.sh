#!/bin/sh
# Usage: check-print-forwarding.sh TOOL STAND_IN WORK_DIR [EMULATOR]
# `ovilant-plan print` starts the ovilant-print beside it with the same
# arguments, under the name ovilant-plan, and answers with its exit status.
# A stand-in that echoes its arguments is put beside a copy of the tool;
# the arguments hold spaces, quotes, backslashes and Japanese, which must
# reach it unchanged (on Windows through the command line it is given).
set -u
tool=$1
stand_in=$2
work=$3
emulator=${4:-}
suffix=
case "$tool" in *.exe) suffix=.exe ;; esac
rm -rf "$work"
mkdir -p "$work"
cp "$tool" "$work/ovilant-plan$suffix"
cp "$stand_in" "$work/ovilant-print$suffix"
status=0
# shellcheck disable=SC2086
$emulator "$work/ovilant-plan$suffix" print "計画書 山田.pdf" 'a"b' 'c:\x y\' '' --to 'out dir/x.pdf' \
    >"$work/out" 2>"$work/err" || status=$?
tr -d '\r' <"$work/out" >"$work/got"
printf '%s\n' 'ovilant-plan' '[計画書 山田.pdf]' '[a"b]' '[c:\x y\]' '[]' '[--to]' '[out dir/x.pdf]' >"$work/expected"
failed=0
if [ "$status" -ne 3 ]; then
    echo "exit status $status, not the stand-in's 3"
    failed=1
fi
if ! cmp -s "$work/got" "$work/expected"; then
    echo "the arguments did not arrive unchanged:"
    diff "$work/expected" "$work/got"
    failed=1
fi
cat "$work/err"
exit "$failed"
