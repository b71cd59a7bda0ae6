#!/usr/bin/env bash
# Builds everything and runs every test through ctest (under a virtual X server, since the
# web engine needs a display). Exits non-zero on any failure.
source "$(dirname "$0")/tools/setup.sh"
cd "$BUILD"
stage_start
status=0
xvfb-run -a -s "-screen 0 1600x1000x24" ctest --output-on-failure -j "$(nproc)" "$@" || status=$?
stage_done "test: tests"
exit $status
