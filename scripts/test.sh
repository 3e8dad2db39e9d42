#!/usr/bin/env bash
# Builds everything and runs the whole test suite under Wine.
#   usage: scripts/test.sh [build-dir]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
"$root/scripts/build.sh" "$build"
build=$(cd "$build" && pwd)
. "$root/scripts/wine-session.sh"
trap wine_session_stop EXIT
wine_session_start "$build"
ctest --test-dir "$build" --output-on-failure
