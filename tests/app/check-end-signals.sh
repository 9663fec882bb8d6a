#!/bin/sh
# check-end-signals.sh EDITOR PLAN_TOOL WORK_DIR: the editor, started
# offscreen on a plan, takes the plan's lock; SIGTERM and SIGHUP each end it
# as a normal close does, and the lock is gone.
editor=$1
tool=$2
work=$3
rm -rf "$work"
mkdir -p "$work/home"
export HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" XDG_DATA_HOME="$work/home/.local/share"
export XDG_CACHE_HOME="$work/home/.cache" QT_QPA_PLATFORM=offscreen
echo '{"Name": "山田"}' > "$work/plan.json"
"$tool" render "$work/plan.json" "$work/plan.pdf" || exit 1
lock="$work/.plan.pdf.lock"
for signal in TERM HUP; do
    "$editor" "$work/plan.pdf" &
    pid=$!
    tries=0
    while [ ! -f "$lock" ]; do
        tries=$((tries + 1))
        if [ $tries -gt 300 ] || ! kill -0 $pid 2>/dev/null; then
            echo "the editor took no lock"
            kill -KILL $pid 2>/dev/null
            exit 1
        fi
        sleep 0.1
    done
    kill -$signal $pid
    wait $pid
    status=$?
    if [ -e "$lock" ]; then
        echo "SIG$signal left the lock behind (exit status $status)"
        rm -f "$lock"
        exit 1
    fi
    if [ $status -ne 0 ]; then
        echo "SIG$signal: exit status $status"
        exit 1
    fi
done
echo "both signals let the lock go"
