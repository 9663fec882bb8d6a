#!/bin/sh
# The Windows build against the Linux build: the same bytes written, the
# same plans read, the same code-page-932 table, and a plan under a Japanese
# name in a Japanese folder written and read again. Windows programs run
# through WINE_RUN. Both tools are started from SOURCE_DIR with the same
# relative paths, so that their messages must match byte for byte.
#
# Usage: compare.sh table  LINUX_TABLE WINDOWS_TABLE WINE_RUN
#        compare.sh render LINUX_TOOL WINDOWS_TOOL WINE_RUN SOURCE_DIR WORK_DIR FILE...
#        compare.sh dump   LINUX_TOOL WINDOWS_TOOL WINE_RUN SOURCE_DIR WORK_DIR FILE...
#        compare.sh names  LINUX_TOOL WINDOWS_TOOL WINE_RUN SOURCE_DIR WORK_DIR
#        compare.sh editor LINUX_TOOL WINDOWS_SAVE WINE_RUN SOURCE_DIR WORK_DIR FILE...
# editor: each plan (JSON) is written by the Linux tool, opened and saved
# again at the same time by the Windows editor's code (WINDOWS_SAVE is
# ovilant_save_plan), and the two files must be the same bytes.
# FILE arguments are relative to SOURCE_DIR; patterns are expanded there.
set -u
mode=$1
linux=$2
windows=$3
wine_run=$4
failures=0
checked=0

fail() {
    echo "DIFFERS: $*"
    failures=$((failures + 1))
}

if [ "$mode" = table ]; then
    "$linux" >linux.table || fail "the Linux table program failed"
    # The Windows console writes CR LF; the table itself has no CR.
    "$wine_run" "$windows" | tr -d '\r' >windows.table || fail "the Windows table program failed"
    if ! cmp -s linux.table windows.table; then
        diff linux.table windows.table | head -40
        fail "the code-page-932 tables differ"
    fi
    echo "$(wc -l <linux.table) table lines compared"
    [ "$failures" -eq 0 ]
    exit
fi

source_dir=$5
work=$6
shift 6
rm -rf "$work"
mkdir -p "$work"
work=$(cd "$work" && pwd)
cd "$source_dir" || exit 1
rel=$(realpath -m --relative-to="$PWD" "$work")
export SOURCE_DATE_EPOCH=1706709909

# Runs `COMMAND FILE [OUT]` with both tools and compares exit status,
# standard output and standard error; with OUT, each tool writes its own
# file in the work folder, and the two files are compared too.
# Runs one tool on `COMMAND FILE [OUT]`: run_tool NAME PROGRAM... writes
# NAME.stdout, NAME.stderr and NAME.out in the work folder and NAME's status.
run_tool() {
    name=$1
    shift
    status=0
    if [ "$has_out" = yes ]; then
        "$@" "$command" "$file" "$rel/$name.out" >"$work/$name.stdout" 2>"$work/$name.stderr" || status=$?
    else
        "$@" "$command" "$file" >"$work/$name.stdout" 2>"$work/$name.stderr" || status=$?
    fi
    eval "status_$name=$status"
}

# True when both tools gave the same status, output, messages and file.
same() {
    [ "$status_linux" -eq "$status_windows" ] &&
        cmp -s "$work/linux.stdout" "$work/windows.stdout" &&
        cmp -s "$work/linux.stderr" "$work/windows.stderr" &&
        { [ ! -e "$work/linux.out" ] && [ ! -e "$work/windows.out" ] ||
            cmp -s "$work/linux.out" "$work/windows.out"; }
}

# Runs `COMMAND FILE [OUT]` with both tools and compares exit status,
# standard output and standard error; with OUT, each tool writes its own
# file in the work folder, and the two files are compared too. A loaded
# machine can make Wine lose a program's output now and then, so a
# difference is confirmed by a second run of the Windows tool first.
both() {
    command=$1
    file=$2
    has_out=no
    [ $# -gt 2 ] && has_out=yes
    run_tool linux "$linux"
    run_tool windows "$wine_run" "$windows"
    if ! same; then
        rm -f "$work/windows.out"
        run_tool windows "$wine_run" "$windows"
    fi
    checked=$((checked + 1))
    [ "$status_linux" -eq "$status_windows" ] ||
        fail "$command $file: exit status $status_linux on Linux, $status_windows on Windows"
    cmp -s "$work/linux.stdout" "$work/windows.stdout" || fail "$command $file: standard output"
    if ! cmp -s "$work/linux.stderr" "$work/windows.stderr"; then
        fail "$command $file: standard error"
        head -c 400 "$work/linux.stderr"
        head -c 400 "$work/windows.stderr"
    fi
    if [ -e "$work/linux.out" ] || [ -e "$work/windows.out" ]; then
        cmp -s "$work/linux.out" "$work/windows.out" || fail "$command $file: the written file"
    fi
    rm -f "$work/linux.out" "$work/windows.out"
}

case "$mode" in
render)
    IFS='
'
    for file in $(for pattern in "$@"; do ls -d $pattern; done); do
        both render "$file" out
    done
    ;;
dump)
    IFS='
'
    for file in $(for pattern in "$@"; do ls -d $pattern; done); do
        both dump "$file"
    done
    ;;
names)
    folder="$rel/計画書 フォルダー"
    plan="$folder/実施計画 山田 2026_12_8.pdf"
    mkdir -p "$work/計画書 フォルダー"
    "$wine_run" "$windows" render tests/data/plans/full.json "$plan" || fail "render under a Japanese name"
    [ -f "$work/計画書 フォルダー/実施計画 山田 2026_12_8.pdf" ] || fail "the file is not where it was named"
    "$linux" render tests/data/plans/full.json "$work/linux.pdf"
    cmp -s "$work/linux.pdf" "$work/計画書 フォルダー/実施計画 山田 2026_12_8.pdf" || fail "the plan's bytes"
    both dump "$plan"
    [ -s "$work/windows.stdout" ] || fail "the plan did not open again"
    # The index names files by their full paths, which differ between the
    # systems: only the Windows one is looked at.
    "$wine_run" "$windows" index "$folder" >"$work/windows.index" || fail "index of a Japanese folder"
    grep -q "計画書 フォルダー.*実施計画 山田 2026_12_8.pdf" "$work/windows.index" || fail "the index does not name the plan"
    ;;
editor)
    IFS='
'
    for file in $(for pattern in "$@"; do ls -d $pattern; done); do
        checked=$((checked + 1))
        rm -rf "$work/saved" "$work/linux.pdf"
        mkdir -p "$work/saved"
        "$linux" render "$file" "$work/linux.pdf" || { fail "$file: the Linux tool did not write it"; continue; }
        "$wine_run" "$windows" "$rel/linux.pdf" "$rel/saved" "$SOURCE_DATE_EPOCH" >"$work/saved.name" 2>"$work/saved.log" ||
            { fail "$file: the Windows editor did not save it"; cat "$work/saved.log"; continue; }
        name=$(tr -d '\r' <"$work/saved.name")
        cmp "$work/linux.pdf" "$work/saved/$name" || fail "$file: the editor's file ($name) differs"
    done
    ;;
*)
    echo "unknown mode $mode"
    exit 2
    ;;
esac
echo "$checked runs compared, $failures differences"
[ "$failures" -eq 0 ]
