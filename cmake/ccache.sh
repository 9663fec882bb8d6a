#!/bin/sh
# Compiler launcher: ccache with paths taken relative to the source tree, so
# that another clone of the project on this machine (a CI run) reuses what
# an earlier build compiled.
CCACHE_BASEDIR=$(cd "$(dirname "$0")/.." && pwd)
CCACHE_NOHASHDIR=1
export CCACHE_BASEDIR CCACHE_NOHASHDIR
exec ccache "$@"
