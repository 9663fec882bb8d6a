#!/bin/sh
# Installs the build tree BUILD_DIR into the empty folder PREFIX and checks
# that every file the package ships is there, that each icon has the size
# its folder names, and that the installed programs run.
# Usage: check-install.sh BUILD_DIR PREFIX WITH_GUI WITH_MANUAL [CMAKE]
set -eu
build=$1
prefix=$2
with_gui=$3
with_manual=$4
cmake=${5:-cmake}

rm -rf "$prefix"
"$cmake" --install "$build" --prefix "$prefix" >/dev/null

expected="bin/ovilant-plan
share/ovilant/Stuff.txt
share/ovilant/Goods.txt
share/ovilant/Kaigo.txt
share/ovilant/Teikeibun.txt
share/applications/example.quenmark.Ovilant.desktop
share/metainfo/example.quenmark.Ovilant.metainfo.xml
share/icons/hicolor/scalable/apps/ovilant.svg
share/man/man1/ovilant.1.gz
share/man/man1/ovilant-plan.1.gz
share/fontconfig/conf.avail/65-ovilant-gothic.conf
share/doc/ovilant/copyright
share/doc/ovilant/changelog.gz"
sizes="16 24 32 48 64 128 256"
for size in $sizes; do
    expected="$expected
share/icons/hicolor/${size}x${size}/apps/ovilant.png"
done
case "$with_gui" in ON|1|TRUE|YES|on|true) expected="$expected
bin/ovilant" ;; esac
case "$with_manual" in ON|1|TRUE|YES|on|true) expected="$expected
share/doc/ovilant/Ovilant.html" ;; esac

missing=0
for file in $expected; do
    if [ ! -s "$prefix/$file" ]; then
        echo "missing or empty: $file"
        missing=1
    fi
done
for program in bin/ovilant bin/ovilant-plan; do
    if [ -e "$prefix/$program" ] && [ ! -x "$prefix/$program" ]; then
        echo "not executable: $program"
        missing=1
    fi
done

# A PNG's width and height are the two big-endian words at bytes 16 to 23.
for size in $sizes; do
    png="$prefix/share/icons/hicolor/${size}x${size}/apps/ovilant.png"
    [ -s "$png" ] || continue
    dims=$(od -An -tu1 -j16 -N8 "$png" | awk '{ printf "%d %d", $1*16777216+$2*65536+$3*256+$4, $5*16777216+$6*65536+$7*256+$8 }')
    if [ "$dims" != "$size $size" ]; then
        echo "icon ${size}x${size} is $dims"
        missing=1
    fi
done

# The installed programs start and answer.
if ! "$prefix/bin/ovilant-plan" --help | grep -q "ovilant-plan render"; then
    echo "installed ovilant-plan does not answer --help"
    missing=1
fi
if [ -x "$prefix/bin/ovilant" ] && ! "$prefix/bin/ovilant" --version | grep -q "^ovilant [0-9]"; then
    echo "installed ovilant does not answer --version"
    missing=1
fi

[ "$missing" -eq 0 ] && echo "install tree complete: $(find "$prefix" -type f | wc -l) files"
exit "$missing"
