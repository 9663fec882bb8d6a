#!/bin/sh
# Builds the core libraries, ovilant-plan.exe and their tests for 64-bit
# Windows with Debian's MinGW-w64 compiler and runs the tests under Wine.
# Everything lands in build/windows:
#   deps/       GoogleTest and libjpeg-turbo built for Windows, nlohmann-json
#   native/     ovilant-plan for this machine, which the Windows tool is
#               compared with (same bytes written, same plans read)
#   build/      the Windows build; ctest runs its programs through wine-run
#   wine/       the Wine prefix, set up once, without a display
# A second run reuses what the first one built. Ends with one line in plain
# words, like test.sh; the exit status is ctest's (or 1 when Wine cannot run
# a Windows program at all).
set -eu
cd "$(dirname "$0")/.."
root=$PWD
out=$root/build/windows
mkdir -p "$out"

# Debian packages: the cross compiler, Wine, the GoogleTest sources, the
# JSON headers, dpkg-source (to unpack libjpeg-turbo's source package) and
# what the native build of the tool needs (its configuration looks for
# python3, which the table checks run with).
PACKAGES="cmake g++ make dpkg-dev
g++-mingw-w64-x86-64-posix wine wine64
libgtest-dev nlohmann-json3-dev libjpeg-dev python3"
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
cat >"$out/wine-run" <<EOF
#!/bin/sh
# Runs a Windows program of this build under Wine, in this build's prefix.
export WINEPREFIX="$WINEPREFIX"
export LC_ALL=C.UTF-8
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
unset DISPLAY WAYLAND_DISPLAY
exec wine "\$@"
EOF
chmod +x "$out/wine-run"
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
# untouched.
if [ ! -f "$deps/.libjpeg-done" ]; then
    echo "Building libjpeg-turbo for Windows"
    apt_dir=$out/deps-build/apt
    src_dir=$out/deps-build/libjpeg-src
    rm -rf "$apt_dir" "$src_dir"
    mkdir -p "$apt_dir/lists/partial" "$src_dir"
    version=$(dpkg-query -W -f='${source:Version}' libjpeg62-turbo)
    codename=$(. /etc/os-release && echo "$VERSION_CODENAME")
    cat >"$apt_dir/sources.list" <<EOF
deb-src [signed-by=/usr/share/keyrings/debian-archive-keyring.gpg] http://deb.debian.org/debian $codename main
deb-src [signed-by=/usr/share/keyrings/debian-archive-keyring.gpg] http://deb.debian.org/debian-security $codename-security main
deb-src [signed-by=/usr/share/keyrings/debian-archive-keyring.gpg] http://deb.debian.org/debian $codename-updates main
EOF
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

echo "Building for Windows"
cmake -S . -B "$out/build" -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DOVILANT_WINDOWS_DEPS="$deps" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_FLAGS_RELEASE=-O1 -DCMAKE_C_FLAGS_RELEASE=-O1 \
    -DCMAKE_CROSSCOMPILING_EMULATOR="$out/wine-run" -DOVILANT_BUILD_GUI=OFF -DOVILANT_BUILD_BENCH=OFF \
    -DOVILANT_BUILD_TESTS=ON -DOVILANT_REFERENCE_TOOLS="$out/native" >/dev/null
nice cmake --build "$out/build" --parallel "$jobs"

cd "$out/build"
exec "$root/scripts/ctest-summary.sh" "Windows (Wine): "
