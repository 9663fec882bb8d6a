#!/bin/sh
# measure.sh TOOL LABEL SECONDS [DIR]: wall time and peak memory
# (/usr/bin/time) of `TOOL dump` or `TOOL check` over each shape that
# make_inputs.py wrote into DIR (default /tmp/hostile), each stopped after
# SECONDS; the folder of plans is timed with `TOOL index`.
B=$1; L=$2; T=$3; D=${4:-/tmp/hostile}
for f in xref-170k.pdf xref-350k.pdf; do
  /usr/bin/time -f "$L $f %e s %M KB exit %x" timeout $T $B dump $D/$f > /dev/null 2>"$D/time.txt"; tail -1 "$D/time.txt"
done
for f in keys-40k.json empty-1m.json key-10mb.json; do
  /usr/bin/time -f "$L $f %e s %M KB exit %x" timeout $T $B check $D/$f > /dev/null 2>"$D/time.txt"; tail -1 "$D/time.txt"
done
if [ -d "$D/plans" ]; then
  rm -rf "$D/cache"
  XDG_CACHE_HOME="$D/cache" /usr/bin/time -f "$L index %e s %M KB exit %x" timeout $T $B index "$D/plans" > /dev/null 2>"$D/time.txt"; tail -1 "$D/time.txt"
  du -b "$D/cache/ovilant/plan-index" 2>/dev/null
fi
