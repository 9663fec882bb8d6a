#!/bin/sh
# The Windows editor end to end under Wine (scripts/windows.sh calls it):
# installs Ovilant with its installer, silently and for the current user,
# into a Wine prefix of its own; starts the installed ovilant.exe on an Xvfb
# display with Qt's real windows platform plugin and a plan on its command
# line (「実施計画 山田 太郎 2026_12_8.pdf」 in the folder 「計画書」); waits for
# the window titled with the plan's name; saves a picture of the screen;
# uninstalls silently.
#   windows-e2e.sh <setup.exe> <ovilant-plan for this machine> <output folder>
# Writes <output folder>/e2e-screenshot.png and ends with one line in plain
# words; the exit status is 0 when the plan opened and the uninstaller
# removed what the installer put there.
set -eu
cd "$(dirname "$0")/.."
root=$PWD
setup=$1
native_tool=$2
out=$3
mkdir -p "$out"

export WINEPREFIX="$out/wine-desktop"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export LC_ALL=C.UTF-8
unset WAYLAND_DISPLAY

fail() {
    echo "$1"
    echo "Windows (Wine): インストーラーとエディタの確認に失敗しました"
    exit 1
}

xvfb_pid=""
cleanup() {
    wineserver -k 2>/dev/null || true
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
}
trap cleanup EXIT INT TERM

# A display of our own: the first free number from 90 up.
display=90
while [ -e "/tmp/.X11-unix/X$display" ] || [ -e "/tmp/.X$display-lock" ]; do
    display=$((display + 1))
done
Xvfb ":$display" -screen 0 1600x1000x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
export DISPLAY=":$display"
i=0
until xdotool getdisplaygeometry >/dev/null 2>&1; do
    i=$((i + 1))
    [ "$i" -gt 100 ] && fail "Xvfb did not start"
    sleep 0.1
done

if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "Setting up the Wine prefix for the desktop check"
    wineboot -i >/dev/null 2>&1 || true
fi
wineserver -w

# Install (over an earlier install of this check) silently, per user.
echo "Installing $(basename "$setup") under Wine (/S /CurrentUser)"
wine "$setup" /S /CurrentUser >/dev/null 2>&1 || fail "the installer failed"
wineserver -w
user_dir=$(find "$WINEPREFIX/drive_c/users" -mindepth 1 -maxdepth 1 -type d ! -name Public | head -1)
installed=$user_dir/AppData/Local/Programs/Ovilant
[ -f "$installed/ovilant.exe" ] || fail "ovilant.exe is not in $installed"
[ -f "$user_dir/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/リハビリ実施計画書.lnk" ] ||
    fail "the Start menu entry リハビリ実施計画書 is missing"
wine reg query 'HKCU\Software\Classes\.pdf\OpenWithProgids' 2>/dev/null | grep -q Quenmark.Ovilant.pdf ||
    fail "the installer did not offer the editor under Open with for .pdf"
if wine reg query 'HKCU\Software\Classes\.pdf' /ve 2>/dev/null | grep -q Quenmark; then
    fail "the installer took the default PDF viewer"
fi

# The plan: the test corpus's full plan, for 山田 太郎 (76) on 8 December 2026,
# written by this machine's tool.
plans=$user_dir/計画書
plan="$plans/実施計画 山田 太郎 2026_12_8.pdf"
mkdir -p "$plans"
sed -e 's/"PlanDate": "[^"]*"/"PlanDate": "2026-12-08T10:00:00"/' -e 's/"Name": "山田太郎"/"Name": "山田 太郎"/' -e 's/"Age": 73/"Age": 76/' \
    "$root/tests/data/plans/full.json" >"$out/e2e-plan.json"
rm -f "$plan"
"$native_tool" render "$out/e2e-plan.json" "$plan" >/dev/null || fail "ovilant-plan render failed"

user=$(basename "$user_dir")
echo "Starting the installed ovilant.exe with the plan on an Xvfb display"
wine "C:\\users\\$user\\AppData\\Local\\Programs\\Ovilant\\ovilant.exe" \
    "C:\\users\\$user\\計画書\\実施計画 山田 太郎 2026_12_8.pdf" >"$out/e2e-ovilant.log" 2>&1 &
editor=$!

# The window's title names the plan once it is open.
window=""
i=0
while [ -z "$window" ]; do
    i=$((i + 1))
    if [ "$i" -gt 180 ] || ! kill -0 "$editor" 2>/dev/null; then
        import -window root "$out/e2e-screenshot.png" 2>/dev/null || true
        fail "no window titled with the plan's name appeared (screen in $out/e2e-screenshot.png)"
    fi
    sleep 1
    window=$(xdotool search --onlyvisible --name '実施計画 山田 太郎 2026_12_8' 2>/dev/null | head -1) || true
done
title=$(xdotool getwindowname "$window")
# Let it draw, then take the picture of the whole screen.
sleep 5
rm -f "$out/e2e-screenshot.png"
import -window root "$out/e2e-screenshot.png"
colours=$(identify -format '%k' "$out/e2e-screenshot.png")
[ "$colours" -gt 16 ] || fail "the screen is (nearly) empty ($colours colours)"
echo "Window: $title"

# Close the editor, then the uninstaller must leave neither the program
# nor the Start menu entry nor the "Open with" entry; the plan stays.
wineserver -k
wine "C:\\users\\$user\\AppData\\Local\\Programs\\Ovilant\\uninstall.exe" /S /CurrentUser >/dev/null 2>&1 ||
    fail "the uninstaller failed"
wineserver -w
i=0
while [ -e "$installed/ovilant.exe" ] && [ "$i" -lt 30 ]; do # it runs from a copy of itself
    sleep 1
    i=$((i + 1))
done
[ ! -e "$installed" ] || fail "the uninstaller left $installed"
[ ! -e "$user_dir/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/リハビリ実施計画書.lnk" ] ||
    fail "the uninstaller left the Start menu entry"
if wine reg query 'HKCU\Software\Classes\.pdf\OpenWithProgids' 2>/dev/null | grep -q Quenmark; then
    fail "the uninstaller left the Open with entry"
fi
[ -f "$plan" ] || fail "the uninstaller removed the plan"
echo "Windows (Wine): インストールした ovilant.exe が計画書を開きました (画面: $out/e2e-screenshot.png)、アンインストールも済みました"
