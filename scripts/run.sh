#!/usr/bin/env bash
# Builds Varnquill and starts it under Wine. Arguments go to the program (e.g. /MIN).
#   usage: scripts/run.sh [program arguments]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${VARNQUILL_BUILD_DIR:-$root/build}
"$root/scripts/build.sh" "$build"
build=$(cd "$build" && pwd)
. "$root/scripts/wine-session.sh"
trap wine_session_stop EXIT
wine_session_start "$build"
if [ -n "${WINE_SESSION_XVFB_PID:-}" ]; then
  echo "run: the program runs on the virtual display $DISPLAY; nothing will appear on a screen."
fi
wine "$build/Varnquill.exe" "$@"
