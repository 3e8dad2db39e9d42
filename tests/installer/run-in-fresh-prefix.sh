#!/usr/bin/env bash
# Runs one Windows test executable under Wine in a prefix made afresh for it, so that what
# it installs starts from a clean machine and stays out of the other suites' prefix. The
# prefix's own wineserver is stopped afterwards, and the prefix (some hundred megabytes) is
# removed unless the test failed, for a look at what was installed. The display is the
# session's.
#   usage: run-in-fresh-prefix.sh PREFIX EXE [ARGS...]
set -u
prefix=$1
shift
here=$(cd "$(dirname "$0")" && pwd)
export WINEPREFIX=$prefix WINEDEBUG=${WINEDEBUG:--all} WINEDLLOVERRIDES="mscoree,mshtml="
[ -d "$prefix" ] && wineserver -k 2>/dev/null
rm -rf "$prefix"
mkdir -p "$prefix"
wineserver -p
. "$here/../../scripts/wine-session.sh"
wine_prefix_prepare
"$here/../../scripts/wine-exec.sh" "$prefix" "$@"
rc=$?
wineserver -k 2>/dev/null
wineserver -w 2>/dev/null
[ $rc = 0 ] && rm -rf "$prefix"
exit $rc
