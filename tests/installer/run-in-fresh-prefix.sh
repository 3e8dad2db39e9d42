#!/usr/bin/env bash
# Runs one Windows test executable under Wine in a prefix made afresh for it, so that what
# it installs starts from a clean machine and stays out of the other suites' prefix. The
# prefix's own wineserver is stopped afterwards; the display is the session's.
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
wineboot -i >/dev/null 2>&1
# Without a window manager, hiding a managed window stalls for seconds.
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
"$here/../../scripts/wine-exec.sh" "$prefix" "$@"
rc=$?
wineserver -k 2>/dev/null
exit $rc
