#!/bin/sh
# Makes the Windows folder that runs as it is, its zip and the installer,
# from a Windows build with the editor (scripts/windows.sh calls it):
#   windows-package.sh <build folder> <Qt prefix> <output folder>
# Writes into the output folder:
#   Ovilant/                          ovilant.exe, ovilant-plan.exe, the Qt and
#                                     runtime DLLs, plugins, Qt's Japanese texts,
#                                     pick lists, manual, qt.conf
#   Ovilant-<version>-windows-x64.zip that folder
#   Ovilant-<version>-setup.exe       the installer (NSIS)
set -eu
cd "$(dirname "$0")/.."
root=$PWD
build=$1
qt=$2
out=$3

version=$(sed -n 's/^project(Ovilant VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")
folder=$out/Ovilant
rm -rf "$folder"
mkdir -p "$folder/plugins/platforms" "$folder/plugins/styles"

# The programs.
cp "$build/src/app/ovilant.exe" "$build/src/cli/ovilant-plan.exe" "$folder/"
for program in "$build"/src/*/ovilant-print.exe; do
    [ -f "$program" ] && cp "$program" "$folder/"
done

# Qt's libraries that the programs load, and the plugins: the Windows
# platform and the Windows (Vista) style. The DLLs the programs and plugins
# name are followed until nothing new turns up; Windows' own are left out.
cp "$qt/plugins/platforms/qwindows.dll" "$folder/plugins/platforms/"
cp "$qt/plugins/styles/qwindowsvistastyle.dll" "$folder/plugins/styles/"
runtime_dirs="$qt/bin $(dirname "$(x86_64-w64-mingw32-g++-posix -print-libgcc-file-name)")
/usr/x86_64-w64-mingw32/lib"
while :; do
    added=0
    for dll in $(find "$folder" -name '*.exe' -o -name '*.dll' | while read -r file; do
        x86_64-w64-mingw32-objdump -p "$file" | sed -n 's/^[[:space:]]*DLL Name: //p'
    done | sort -u); do
        [ -f "$folder/$dll" ] && continue
        for dir in $runtime_dirs; do
            if [ -f "$dir/$dll" ]; then
                cp "$dir/$dll" "$folder/"
                added=1
                break
            fi
        done
    done
    [ "$added" -eq 0 ] && break
done

# Qt finds its plugins and texts beside the program.
printf '[Paths]\nPrefix = .\nPlugins = plugins\nTranslations = .\n' >"$folder/qt.conf"
cp /usr/share/qt6/translations/qtbase_ja.qm "$folder/"

# The default pick lists (code page 932) and the manual, as the build puts
# them beside the program.
for list in Stuff.txt Goods.txt Kaigo.txt Teikeibun.txt; do
    cp "$build/src/app/$list" "$folder/"
done
cp "$build/src/app/Ovilant.html" "$folder/"
cp -r "$build/src/app/Ovilant-images" "$folder/"

# The zip: the folder as it is.
zip_file=$out/Ovilant-$version-windows-x64.zip
rm -f "$zip_file"
(cd "$out" && zip -q -r -X "$zip_file" Ovilant)

# The installer. Its uninstaller removes exactly the files packed.
list=$out/uninstall-files.nsh
(cd "$folder" && find . -type f | sort | sed 's|^\./||; s|/|\\|g; s|.*|  Delete "$INSTDIR\\&"|'
 cd "$folder" && find . -mindepth 1 -type d | sort -r | sed 's|^\./||; s|/|\\|g; s|.*|  RMDir "$INSTDIR\\&"|') >"$list"
setup=$out/Ovilant-$version-setup.exe
rm -f "$setup"
makensis -V2 -INPUTCHARSET UTF8 -DVERSION="$version" -DSOURCE="$folder" -DFILELIST="$list" -DOUTFILE="$setup" \
    "$root/dist/windows/ovilant.nsi"
echo "Windows: $(basename "$zip_file"), $(basename "$setup") in $out"
