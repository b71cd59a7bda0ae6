#!/usr/bin/env bash
# Builds everything and starts the shell on the demo course (./run.sh hitzone-editor starts the editor).
# The build folder is the installation folder: it holds data/, theme/ and the programs.
source "$(dirname "$0")/tools/setup.sh"
program=${1:-shell}
case "$program" in
    shell|hitzone-editor) ;;
    *) echo "usage: $0 [shell|hitzone-editor]" >&2; exit 2 ;;
esac
cd "$BUILD"
exec "./$program"
