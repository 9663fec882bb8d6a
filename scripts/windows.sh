#!/bin/sh
# Builds Ovilant for 64-bit Windows with Debian's MinGW-w64 compiler and
# tests it under Wine: the core libraries, ovilant-plan.exe and their tests;
# the editor ovilant.exe (against Qt for Windows built from Debian's
# qt6-base source by scripts/windows-qt.sh, cached outside the clone; left
# out with OVILANT_WINDOWS_EDITOR=0) and its tests, the folder that runs as it is,
# its zip and the installer (scripts/windows-package.sh), and the installed
# editor end to end on an Xvfb display (scripts/windows-e2e.sh). Everything
# else lands in
# build/windows:
#   deps/       GoogleTest and libjpeg-turbo built for Windows, nlohmann-json
#   native/     ovilant-plan for this machine, which the Windows programs are
#               compared with (same bytes written, same plans read)
#   build/      the Windows build; ctest runs its programs through wine-run
#   wine/       the Wine prefix of the tests, set up once, without a display
#   package/    Ovilant/ (the folder), the zip, the installer, and the end to
#               end check's prefix, plan and e2e-screenshot.png
# A second run reuses what the first one built. Ends with one line in plain
# words, like test.sh; the exit status is non-zero when a test fails, when
# Qt, the package or the end-to-end check fails, or when Wine cannot run a
# Windows program at all.
set -eu
cd "$(dirname "$0")/.."
root=$PWD
out=$root/build/windows
mkdir -p "$out"

# Debian packages: the cross compiler, Wine, the GoogleTest sources, the
# JSON headers, dpkg-source (to unpack libjpeg-turbo's source package), what
# the native build of the tool needs (its configuration looks for python3,
# which the table checks run with); for the editor: Qt's Japanese texts, a
# Japanese font that Wine finds, NSIS and zip for the package, Xvfb,
# xdotool and ImageMagick for the end-to-end check. scripts/windows-qt.sh
# installs what the Qt build needs.
PACKAGES="cmake g++ make dpkg-dev
g++-mingw-w64-x86-64-posix wine wine64
libgtest-dev nlohmann-json3-dev libjpeg-dev python3
qt6-translations-l10n fonts-ipafont-gothic nsis zip xvfb xdotool imagemagick"
# shellcheck disable=SC2086
"$root/scripts/install-packages.sh" $PACKAGES

jobs=$(nproc)
toolchain=$root/cmake/windows-x86_64.cmake
deps=$out/deps
mkdir -p "$deps"

# Wine: a prefix of our own, no display, no debug output, no offer to
# install Mono or Gecko. wine-run is what ctest uses as its emulator.
export WINEPREFIX="$out/wine"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
unset DISPLAY WAYLAND_DISPLAY
# Wine reads the arguments and the Unix file names as UTF-8 through the
# locale; the Windows programs never see that code page.
export LC_ALL=C.UTF-8

# wine-run: runs a Windows program of this build; WINEPATH names the
# folders of the DLLs the editor loads (Qt's, the compiler's runtime), once
# Qt is there.
write_wine_run() {
    cat >"$out/wine-run" <<EOF
#!/bin/sh
# Runs a Windows program of this build under Wine, in this build's prefix.
export WINEPREFIX="$WINEPREFIX"
export LC_ALL=C.UTF-8
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEPATH='$1'
unset DISPLAY WAYLAND_DISPLAY
# Wine keeps the QT_ variables of Unix programs from Windows programs; a
# WINE prefix hands one over (WINEQT_X becomes QT_X). Qt's messages and the
# test reports go to the console rather than to the debugger, and the
# offscreen platform draws with the Japanese Gothic faces of the Linux build.
for name in \$(env | sed -n 's/^\(QT_[A-Za-z0-9_]*\)=.*/\1/p'); do
    eval "export WINE\$name=\"\\\$\$name\""
done
export WINEQT_ASSUME_STDERR_HAS_CONSOLE=1
export WINEQT_QPA_FONTDIR="\${WINEQT_QPA_FONTDIR:-Z:\\usr\\share\\fonts\\opentype\\ipafont-gothic}"
exec wine "\$@"
EOF
    chmod +x "$out/wine-run"
}
write_wine_run ""
if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "Setting up the Wine prefix"
    wineboot -i >/dev/null 2>&1 || true
fi
# Wine must run a Windows program and hand back its output and exit status;
# without that every test would fail for nothing, or worse, pass unseen.
probe=$out/probe
mkdir -p "$probe"
printf '#include <cstdio>\nint main() { std::puts("wine works"); return 7; }\n' >"$probe/probe.cpp"
x86_64-w64-mingw32-g++-posix -static -o "$probe/probe.exe" "$probe/probe.cpp"
status=0
answer=$("$out/wine-run" "$probe/probe.exe" 2>/dev/null) || status=$?
answer=$(printf '%s' "$answer" | tr -d '\r') # the console writes CR LF
if [ "$answer" != "wine works" ] || [ "$status" -ne 7 ]; then
    echo "Wine cannot run Windows programs here (output \"$answer\", exit status $status)."
    echo "Windowsのテストを実行できませんでした (Wine が動きません)"
    exit 1
fi

# GoogleTest from Debian's own sources.
if [ ! -f "$deps/.googletest-done" ]; then
    echo "Building GoogleTest for Windows"
    rm -rf "$out/deps-build/googletest"
    cmake -S /usr/src/googletest -B "$out/deps-build/googletest" -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
        -DOVILANT_WINDOWS_DEPS="$deps" -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$deps" \
        -DBUILD_GMOCK=OFF >/dev/null
    nice cmake --build "$out/deps-build/googletest" --parallel "$jobs" >/dev/null
    cmake --install "$out/deps-build/googletest" >/dev/null
    touch "$deps/.googletest-done"
fi

# libjpeg-turbo from Debian's source package, the same version the Linux
# build links, so both readers give the same verdicts on every picture. The
# sources come through a list of our own, leaving the system's apt setup
# untouched, made from the machine's own apt configuration.
if [ ! -f "$deps/.libjpeg-done" ]; then
    echo "Building libjpeg-turbo for Windows"
    apt_dir=$out/deps-build/apt
    src_dir=$out/deps-build/libjpeg-src
    rm -rf "$apt_dir" "$src_dir"
    mkdir -p "$apt_dir/lists/partial" "$src_dir"
    version=$(dpkg-query -W -f='${source:Version}' libjpeg62-turbo)
    "$root/scripts/apt-source-list.sh" >"$apt_dir/sources.list"
    apt_options="-o Dir::Etc::SourceList=$apt_dir/sources.list -o Dir::Etc::SourceParts=/dev/null
        -o Dir::State::Lists=$apt_dir/lists -o Debug::NoLocking=1"
    # shellcheck disable=SC2086
    apt-get $apt_options update -qq
    # shellcheck disable=SC2086
    (cd "$src_dir" && apt-get $apt_options source --download-only -qq "libjpeg-turbo=$version")
    dpkg-source --no-check -x "$src_dir"/libjpeg-turbo_*.dsc "$src_dir/libjpeg-turbo" >/dev/null
    cmake -S "$src_dir/libjpeg-turbo" -B "$out/deps-build/libjpeg" -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
        -DOVILANT_WINDOWS_DEPS="$deps" -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$deps" \
        -DENABLE_SHARED=OFF -DENABLE_STATIC=ON -DWITH_TURBOJPEG=OFF -DWITH_SIMD=OFF >/dev/null
    nice cmake --build "$out/deps-build/libjpeg" --parallel "$jobs" --target jpeg-static >/dev/null
    mkdir -p "$deps/include" "$deps/lib"
    cp "$out/deps-build/libjpeg/libjpeg.a" "$deps/lib/"
    cp "$out/deps-build/libjpeg/jconfig.h" "$src_dir/libjpeg-turbo/jpeglib.h" \
        "$src_dir/libjpeg-turbo/jmorecfg.h" "$src_dir/libjpeg-turbo/jerror.h" "$deps/include/"
    touch "$deps/.libjpeg-done"
fi

# nlohmann-json is headers only: Debian's copy serves every target.
if [ ! -f "$deps/.json-done" ]; then
    mkdir -p "$deps/include" "$deps/share/cmake"
    cp -r /usr/include/nlohmann "$deps/include/"
    cp -r /usr/share/cmake/nlohmann_json "$deps/share/cmake/"
    touch "$deps/.json-done"
fi

# The tool for this machine, to compare the Windows one with.
echo "Building the Linux tool for comparison"
cmake -S . -B "$out/native" -DCMAKE_BUILD_TYPE=Release -DOVILANT_BUILD_GUI=OFF -DOVILANT_BUILD_BENCH=OFF \
    -DOVILANT_BUILD_TESTS=ON >/dev/null
nice cmake --build "$out/native" --parallel "$jobs" --target ovilant-plan cp932_table

# Qt for Windows, built once per machine (the first time for a good half
# hour); without it the editor is left out and the run fails at the end.
# OVILANT_WINDOWS_EDITOR=0 leaves the editor out on purpose (the core and
# the tool only, in minutes on a machine without the Qt cache).
qt=""
qt_status=0
if [ "${OVILANT_WINDOWS_EDITOR:-1}" != 0 ]; then
    qt_start=$(date +%s)
    qt=$("$root/scripts/windows-qt.sh") || qt_status=$?
    if [ "$qt_status" -ne 0 ] || [ ! -f "$qt/.complete" ]; then
        echo "Qt for Windows could not be built: the editor is left out."
        qt=""
        qt_status=1
    fi
    echo "Qt for Windows: $qt ($(($(date +%s) - qt_start)) s)"
else
    echo "The editor for Windows is left out (OVILANT_WINDOWS_EDITOR=0)."
fi

# The Windows programs find Qt's DLLs and the compiler's runtime DLLs
# through WINEPATH (Qt finds its plugins and texts beside its DLLs).
if [ -n "$qt" ]; then
    gcc_dir=$(dirname "$(x86_64-w64-mingw32-g++-posix -print-libgcc-file-name)")
    write_wine_run "$(printf 'Z:%s;Z:%s;Z:%s' "$qt/bin" "$gcc_dir" /usr/x86_64-w64-mingw32/lib | tr / '\\')"
fi

echo "Building for Windows"
gui=OFF
[ -n "$qt" ] && gui=ON
cmake -S . -B "$out/build" -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DOVILANT_WINDOWS_DEPS="$deps" \
    -DOVILANT_WINDOWS_QT="$qt" -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_FLAGS_RELEASE=-O1 -DCMAKE_C_FLAGS_RELEASE=-O1 \
    -DCMAKE_CROSSCOMPILING_EMULATOR="$out/wine-run" -DOVILANT_BUILD_GUI="$gui" -DOVILANT_BUILD_BENCH=OFF \
    -DOVILANT_BUILD_TESTS=ON -DOVILANT_REFERENCE_TOOLS="$out/native" >/dev/null
build_start=$(date +%s)
nice cmake --build "$out/build" --parallel "$jobs"
echo "Windows build: $(($(date +%s) - build_start)) s"

test_status=0
test_start=$(date +%s)
# On a loaded machine Wine now and then fails to start a program at all (no
# output, a hundredth of a second): a failed test is run once more, so one
# that fails for its own reasons still fails.
(cd "$out/build" && OVILANT_CTEST_ARGS="--repeat until-pass:2" "$root/scripts/ctest-summary.sh" "Windows (Wine): ") \
    >"$out/ctest.log" 2>&1 || test_status=$?
grep -E 'Failed|\*\*\*|Not Run|Timeout|tests passed' "$out/ctest.log" || true
summary=$(tail -n 1 "$out/ctest.log")
echo "Windows tests: $(($(date +%s) - test_start)) s (log in $out/ctest.log)"

# The folder, the zip and the installer; the installed editor end to end.
package_status=0
e2e_status=0
if [ -n "$qt" ]; then
    echo "Packing the folder, the zip and the installer"
    "$root/scripts/windows-package.sh" "$out/build" "$qt" "$out/package" || package_status=$?
    if [ "$package_status" -eq 0 ]; then
        "$root/scripts/windows-e2e.sh" "$out/package"/Ovilant-*-setup.exe "$out/native/src/cli/ovilant-plan" \
            "$out/package" || e2e_status=$?
    fi
fi

echo
[ "$qt_status" -eq 0 ] || echo "Windows: Qt for Windows をビルドできませんでした (エディタなし)"
[ "$package_status" -eq 0 ] || echo "Windows: パッケージを作れませんでした"
[ "$e2e_status" -eq 0 ] || echo "Windows: インストールしたエディタの確認に失敗しました"
echo "$summary"
[ "$test_status" -eq 0 ] && [ "$qt_status" -eq 0 ] && [ "$package_status" -eq 0 ] && [ "$e2e_status" -eq 0 ]
