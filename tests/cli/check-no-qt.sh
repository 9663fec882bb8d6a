#!/bin/sh
# Usage: check-no-qt.sh PROGRAM "LISTER" MARK
# Lists the libraries PROGRAM loads (the lines of LISTER's output that hold
# MARK) and fails when one of them is a Qt library, or when none is listed
# at all (the lister did not understand the file).
set -eu
program=$1
lister=$2
mark=$3
# shellcheck disable=SC2086
libraries=$($lister "$program" | grep -F "$mark" || true)
if [ -z "$libraries" ]; then
    echo "no libraries listed for $program by $lister"
    exit 1
fi
echo "$libraries"
if echo "$libraries" | grep -qi 'qt'; then
    echo "$program loads a Qt library"
    exit 1
fi
