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
# GoogleTest makes this file when its run starts and removes it when the run is over. Left
# behind, it tells of a test program that ended in between: through exit() in the code under
# test, or ended by another process, which Wine reports to the shell as status 0 whatever the
# exit code was. A program that is not a GoogleTest one never makes it.
unfinished=$out.unfinished
export TEST_PREMATURE_EXIT_FILE="Z:$unfinished"
# The exit status is the Windows exit code's low byte; Wine makes it 1 when that byte alone
# would be 0, so a crash (0xC0000005 comes out as 5) never reads as success.
wine "$@" >"$out" 2>&1 </dev/null
rc=$?
cat "$out"
rm -f "$out"
if [ -e "$unfinished" ]; then
  rm -f "$unfinished"
  echo "wine-exec: the test program ended before its tests were over (exit status $rc)"
  [ $rc = 0 ] && rc=1
fi
exit $rc
