#!/usr/bin/env bash
# Runs one Windows test executable under Wine for ctest, in the build tree's prefix.
# Wine's own helper processes (services, the desktop with its tray) outlive the test and
# would hold a pipe open, so ctest would wait for them; the output goes through a file instead.
#   usage: wine-exec.sh PREFIX EXE [ARGS...]
set -u
export WINEPREFIX=$1
shift
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES="mscoree,mshtml="
out=$(mktemp)
wine "$@" >"$out" 2>&1 </dev/null
rc=$?
cat "$out"
rm -f "$out"
exit $rc
