#!/bin/bash
# Fills a whole plan, both pages, every mark and priority, with the keyboard
# alone under Xvfb (xdotool), saves it with Ctrl+S and prints the number of
# keys pressed. Compare the plan with `ovilant-plan dump`.
# Usage: run.sh BUILD_DIR   (a build of the editor, e.g. build/dev)
set -u
HERE=$(cd "$(dirname "$0")" && pwd)
BUILD=$(cd "$1" && pwd)
WORK=$(mktemp -d)
export DISPLAY=:77
export HOME=$WORK/home
rm -rf $HOME; mkdir -p $HOME
Xvfb :77 -screen 0 1600x1200x24 >/dev/null 2>&1 &
echo $! > $WORK/xvfb.pid
sleep 1
"$BUILD/src/app/ovilant" >$WORK/app.log 2>&1 &
echo $! > $WORK/app.pid
sleep 3
WIN=$(xdotool search --name "リハビリ実施計画書" | head -1)
xdotool windowfocus --sync $WIN
N=0
k() { xdotool key --delay 15 "$@"; N=$((N+$#)); }
k ctrl+n
sleep 1
python3 "$HERE/keyboard_sequence.py" "$HERE/../../../src/planfile/PlanLayout1.cpp" > $WORK/seq.txt
page=1
while read -r ctl keys; do
  if [ "$ctl" = PAGE ]; then
    if [ "$keys" = 2 ]; then k Right; sleep 0.5; k Tab; fi
    continue
  fi
  [ "$ctl" = PlanDateEdit ] && continue
  [ "$keys" != - ] && k $keys
  k Tab
done < $WORK/seq.txt
echo "keys before save: $N"
k ctrl+s
sleep 1
k Return
sleep 2
echo "keys with save: $N"
kill $(cat $WORK/app.pid) $(cat $WORK/xvfb.pid)
"$BUILD/src/cli/ovilant-plan" dump "$HOME"/*.pdf
