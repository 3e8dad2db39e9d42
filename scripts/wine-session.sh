# Sourced by the run and test scripts: a display and a Wine prefix inside the build tree.
#   wine_session_start BUILD_DIR   starts Xvfb when there is no DISPLAY, prepares the prefix,
#                                  keeps its wineserver alive
#   wine_prefix_prepare            makes or readies the prefix $WINEPREFIX for the tests
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
  [ -f "$WINEPREFIX/system.reg" ] || echo "wine-session: creating the Wine prefix $WINEPREFIX"
  wine_prefix_prepare
}

# Makes the prefix $WINEPREFIX when it is missing, and sets in it, new or old, what every
# process there needs. Its wineserver must be running.
wine_prefix_prepare() {
  # Now and then wineboot ends with the registry written but no system DLLs in the prefix,
  # and every Wine process after it fails to start (exit status 53): such a prefix is made
  # again, from nothing, a few times at most.
  local attempt
  for attempt in 1 2 3; do
    [ -f "$WINEPREFIX/drive_c/windows/system32/kernel32.dll" ] && break
    if [ -f "$WINEPREFIX/system.reg" ]; then
      echo "wine-session: the Wine prefix $WINEPREFIX is incomplete; making it again" >&2
      wineserver -k 2>/dev/null || true
      rm -rf "$WINEPREFIX"
      mkdir -p "$WINEPREFIX"
      wineserver -p
    fi
    wineboot -i >/dev/null 2>&1
    # Without a window manager, hiding a managed window stalls for seconds.
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
  done
  # No debugger for a crash. Wine's own (winedbg --auto) opens a dialog on the display and
  # waits for a click that never comes under Xvfb, so a crashed test or benchmark hung;
  # without one the process ends at once with the exception code as its exit code. An empty
  # command is one that cannot start: without the value Wine falls back to winedbg, and
  # Auto = 0 would ask in a message box instead. Set on old prefixes too, made before this.
  wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' /v Debugger /d '' /f >/dev/null 2>&1 ||
    echo "wine-session: no way to turn off Wine's crash debugger: a crashing program will wait in its dialog" >&2
}

wine_session_stop() {
  wineserver -k 2>/dev/null || true
  if [ -n "${WINE_SESSION_XVFB_PID:-}" ]; then
    kill "$WINE_SESSION_XVFB_PID" 2>/dev/null || true
    wait "$WINE_SESSION_XVFB_PID" 2>/dev/null || true
  fi
}
