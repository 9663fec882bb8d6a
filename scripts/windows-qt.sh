#!/bin/sh
# Builds Qt for 64-bit Windows from Debian's own qt6-base source package
# (the version the Linux build links) with the MinGW-w64 compiler, once per
# machine, into a cache outside the clone; prints the cache folder (the Qt
# prefix for CMAKE_PREFIX_PATH) as its last line.
#
# Only what the editor and its tests use: Core, Gui, Widgets, PrintSupport,
# Test and OpenGL (Gui's dynamic OpenGL; the Windows platform plugin of 6.4
# does not compile without it); the windows and offscreen platform plugins
# and the Windows styles; shared libraries, Release; zlib, libpng, PCRE2,
# HarfBuzz and FreeType from Qt's own copies. The host tools (moc, rcc,
# uic) are Debian's (QT_HOST_PATH=/usr). Two switches Debian's source needs
# for Windows: tablet events off (Debian's source leaves out the Wintab
# headers the Windows platform plugin would need for them), and Direct2D
# left on (without it Gui leaves out the DirectWrite font engine that
# PrintSupport's Windows print engine links).
#
# The cache folder is named after the package version and a digest of the
# build options: $OVILANT_CACHE (default /var/cache/ovilant)/
# qt6-mingw-<version>-<digest>. It is installed into a temporary folder and
# renamed into place with its completion mark as the last step, so a
# half-built cache is never used: a run that finds no mark builds from
# scratch. Other output goes to standard error.
set -eu
cd "$(dirname "$0")/.."
root=$PWD
cache=${OVILANT_CACHE:-/var/cache/ovilant}

# The options; any change gives another cache folder.
QT_OPTIONS="-DCMAKE_BUILD_TYPE=Release -DBUILD_SHARED_LIBS=ON
-DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DQT_BUILD_BENCHMARKS=OFF -DQT_BUILD_MANUAL_TESTS=OFF
-DQT_BUILD_TOOLS_WHEN_CROSSCOMPILING=OFF
-DFEATURE_sql=OFF -DFEATURE_network=OFF -DFEATURE_dbus=OFF -DFEATURE_xml=OFF -DFEATURE_concurrent=OFF
-DFEATURE_vulkan=OFF -DFEATURE_opengles2=OFF -DFEATURE_tabletevent=OFF
-DFEATURE_jpeg=OFF -DFEATURE_gif=OFF -DFEATURE_ico=OFF
-DFEATURE_icu=OFF -DFEATURE_glib=OFF -DFEATURE_zstd=OFF -DFEATURE_brotli=OFF
-DFEATURE_system_zlib=OFF -DFEATURE_system_png=OFF -DFEATURE_system_pcre2=OFF
-DFEATURE_system_harfbuzz=OFF -DFEATURE_system_freetype=OFF -DFEATURE_system_doubleconversion=OFF
-DFEATURE_printsupport=ON -DFEATURE_testlib=ON -DFEATURE_widgets=ON
-DFEATURE_style_windows=ON -DFEATURE_style_windowsvista=ON -DFEATURE_style_fusion=ON"
# Bump when the steps below change what lands in the cache.
RECIPE=1

echo "Qt for Windows: checking the Debian packages" >&2
PACKAGES="cmake ninja-build g++-mingw-w64-x86-64-posix dpkg-dev perl
qt6-base-dev qt6-base-dev-tools qt6-translations-l10n"
# shellcheck disable=SC2086
"$root/scripts/install-packages.sh" $PACKAGES >&2

version=$(dpkg-query -W -f='${source:Version}' qt6-base-dev)
# Qt's own toolchain file: the compiler and the target's folders, nothing
# else (the project's toolchain links its programs statically).
TOOLCHAIN='set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)'
digest=$(printf '%s\n%s\n%s\n%s\n' "$RECIPE" "$QT_OPTIONS" "$TOOLCHAIN" \
    "$(x86_64-w64-mingw32-g++-posix -dumpfullversion)" | sha256sum | cut -c1-12)
name=qt6-mingw-$(printf '%s' "$version" | tr '+~:' '___')-$digest
prefix=$cache/$name

# Qt's Japanese texts from Debian's qt6-translations-l10n (the same Qt
# version) join the prefix, where Qt looks for them, as in a Qt installation.
finish() {
    if [ ! -f "$prefix/translations/qtbase_ja.qm" ]; then
        mkdir -p "$prefix/translations"
        cp /usr/share/qt6/translations/qtbase_ja.qm "$prefix/translations/"
    fi
    echo "$prefix"
    exit 0
}

if [ -f "$prefix/.complete" ]; then
    finish
fi

mkdir -p "$cache"
# One build at a time on this machine; a second caller waits and then
# finds the cache complete.
exec 9>"$cache/$name.lock"
if ! flock -n 9; then
    echo "Qt for Windows: another build of $name is running, waiting for it" >&2
    flock 9
fi
if [ -f "$prefix/.complete" ]; then
    finish
fi

start=$(date +%s)
work=$cache/$name.build
# What a failed build left is not used; its log is kept beside the cache.
[ -f "$work/build.log" ] && mv "$work/build.log" "$cache/$name.failed-build.log"
rm -rf "$work" "$prefix"
mkdir -p "$work/apt/lists/partial" "$work/src"
printf '%s\n' "$TOOLCHAIN" >"$work/toolchain.cmake"

echo "Qt for Windows: fetching the source package qt6-base $version" >&2
"$root/scripts/apt-source-list.sh" >"$work/apt/sources.list"
apt_options="-o Dir::Etc::SourceList=$work/apt/sources.list -o Dir::Etc::SourceParts=/dev/null
    -o Dir::State::Lists=$work/apt/lists -o Debug::NoLocking=1"
# shellcheck disable=SC2086
apt-get $apt_options update -qq >&2
# shellcheck disable=SC2086
(cd "$work/src" && apt-get $apt_options source --download-only -qq "qt6-base=$version") >&2
dpkg-source --no-check -x "$work/src"/qt6-base_*.dsc "$work/src/qtbase" >/dev/null

echo "Qt for Windows: configuring (log in $work/configure.log)" >&2
# shellcheck disable=SC2086
if ! cmake -S "$work/src/qtbase" -B "$work/build" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$work/toolchain.cmake" \
    -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
    -DCMAKE_INSTALL_PREFIX="$prefix" $QT_OPTIONS >"$work/configure.log" 2>&1; then
    tail -40 "$work/configure.log" >&2
    exit 1
fi

echo "Qt for Windows: building (log in $work/build.log)" >&2
# After a failure ninja goes on with everything else (-k 0), so that one
# run names every failing step.
if ! nice -n 10 cmake --build "$work/build" --parallel "$(nproc)" -- -k 0 >"$work/build.log" 2>&1; then
    grep -A30 '^FAILED:' "$work/build.log" | grep -v 'warning\|^ *[0-9]* |\|^ *| \|In file included\|^ *from ' | head -80 >&2
    tail -5 "$work/build.log" >&2
    exit 1
fi

echo "Qt for Windows: installing" >&2
rm -rf "$work/stage"
DESTDIR=$work/stage cmake --install "$work/build" >"$work/install.log" 2>&1
printf 'qt6-base %s\n%s\nbuilt in %s s\n' "$version" "$QT_OPTIONS" "$(($(date +%s) - start))" \
    >"$work/stage$prefix/.complete"
mv "$work/stage$prefix" "$prefix"
rm -rf "$work"
echo "Qt for Windows: built in $(($(date +%s) - start)) s" >&2
finish
