# Sourced by the run and test scripts: a display and a Wine prefix inside the build tree.
#   wine_session_start BUILD_DIR   starts Xvfb when there is no DISPLAY, prepares the prefix,
#                                  keeps its wineserver alive
#   wine_session_stop              stops what wine_session_start started, by pid and prefix

wine_session_start() {
  local build=$1
  export WINEPREFIX="$build/wineprefix"
  export WINEDEBUG=-all
  # No Mono or Gecko installer prompts: the program needs neither.
  export WINEDLLOVERRIDES="mscoree,mshtml="
  WINE_SESSION_XVFB_PID=
  if [ -z "${DISPLAY:-}" ]; then
    local fdfile
    fdfile=$(mktemp)
    # As large as a monitor set to 200 percent is: the main window is 1514 x 1170 there.
    Xvfb -displayfd 3 -screen 0 2560x1600x24 -nolisten tcp 3>"$fdfile" >/dev/null 2>&1 &
    WINE_SESSION_XVFB_PID=$!
    local i
    for i in $(seq 1 100); do
      [ -s "$fdfile" ] && break
      sleep 0.1
    done
    export DISPLAY=":$(head -n 1 "$fdfile")"
    rm -f "$fdfile"
    echo "wine-session: no display, started a virtual one (Xvfb $DISPLAY)"
  fi
  # One server for the whole session: each Wine process then starts in well under a second.
  mkdir -p "$WINEPREFIX"
  wineserver -p
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "wine-session: creating the Wine prefix $WINEPREFIX"
    wineboot -i >/dev/null 2>&1
    # Without a window manager, hiding a managed window stalls for seconds.
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
  fi
}

wine_session_stop() {
  wineserver -k 2>/dev/null || true
  if [ -n "${WINE_SESSION_XVFB_PID:-}" ]; then
    kill "$WINE_SESSION_XVFB_PID" 2>/dev/null || true
    wait "$WINE_SESSION_XVFB_PID" 2>/dev/null || true
  fi
}
