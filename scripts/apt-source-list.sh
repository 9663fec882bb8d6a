#!/bin/sh
# Writes an apt source list of deb-src lines, made from the machine's own
# apt configuration (the deb lines of /etc/apt/sources.list and of the
# .list and deb822 .sources files in /etc/apt/sources.list.d), to standard
# output. The Windows builds fetch Debian source packages through it with
# -o Dir::Etc::SourceList, leaving the system's apt setup untouched; no
# archive host is named anywhere in this repository.
# Usage: apt-source-list.sh [etc-apt-folder]   (default /etc/apt)
set -eu
etc=${1:-/etc/apt}

one_line() {
    # "deb [options] uri suite components..." -> the same with deb-src
    sed -n 's/^[[:space:]]*deb[[:space:]]\{1,\}/deb-src /p' "$1"
}

deb822() {
    # Stanzas separated by blank lines; fields Types, URIs, Suites,
    # Components, Signed-By (a key file name), Enabled. Comments skipped.
    awk '
    function flush(   u, s, i, j, opts, nu, ns) {
        if (types ~ /(^|[[:space:]])deb([[:space:]]|$)/ && enabled != "no" && uris != "" && suites != "") {
            opts = ""
            if (signed != "" && signed !~ /BEGIN PGP/) opts = "[signed-by=" signed "] "
            nu = split(uris, u, /[[:space:]]+/)
            ns = split(suites, s, /[[:space:]]+/)
            for (i = 1; i <= nu; i++) for (j = 1; j <= ns; j++)
                if (u[i] != "" && s[j] != "") print "deb-src " opts u[i] " " s[j] " " comps
        }
        types = uris = suites = comps = signed = ""; enabled = ""
    }
    /^[[:space:]]*#/ { next }
    /^[[:space:]]*$/ { flush(); next }
    /^[^[:space:]]/ {
        key = tolower($1); sub(/:$/, "", key); val = $0; sub(/^[^:]*:[[:space:]]*/, "", val)
        if (key == "types") types = val
        else if (key == "uris") uris = val
        else if (key == "suites") suites = val
        else if (key == "components") comps = val
        else if (key == "signed-by") signed = val
        else if (key == "enabled") enabled = tolower(val)
    }
    END { flush() }' "$1"
}

[ -f "$etc/sources.list" ] && one_line "$etc/sources.list"
for f in "$etc"/sources.list.d/*.list; do
    [ -f "$f" ] && one_line "$f"
done
for f in "$etc"/sources.list.d/*.sources; do
    [ -f "$f" ] && deb822 "$f"
done
exit 0
