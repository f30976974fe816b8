# A wine session for tests and the demo: the project's prefix, a private X display (or, with
# VEXO_USE_DISPLAY=1, the caller's DISPLAY) and a persistent wineserver, all ended by wine_session_stop
# (installed as an EXIT trap by wine_session_start). Sourced.

wine_session_stop() {
  if [ -n "${WINEPREFIX:-}" ] && command -v wineserver >/dev/null; then
    wineserver -k >/dev/null 2>&1 || true
  fi
  if [ -n "${VEXO_XVFB_PID:-}" ]; then
    kill "$VEXO_XVFB_PID" 2>/dev/null || true
    wait "$VEXO_XVFB_PID" 2>/dev/null || true
    VEXO_XVFB_PID=
  fi
}

wine_session_start() {
  export WINEPREFIX=$VEXO_BUILD_DIR/wineprefix
  # The x86_64 target's programs, and its prefix (a 64-bit one), go through wine's 64-bit loader.
  if [ "$VEXO_ARCH" = x86_64 ]; then
    export PATH=$VEXO_ROOT/tools/lib/wine64-launcher:$PATH WINELOADER=/usr/lib/wine/wine64
  elif ! machine_runs_i686; then
    die "this machine runs no 32-bit x86 program (Exec format error), so wine cannot run the i686 build; run the x86_64 build (VEXO_ARCH=x86_64; for tools/test.sh VEXO_TEST_ARCH=x86_64)"
  fi
  export WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree,mshtml,winemenubuilder.exe="
  export LANG=C.UTF-8 LC_ALL=C.UTF-8
  trap wine_session_stop EXIT
  trap 'exit 130' INT TERM

  if [ "${VEXO_USE_DISPLAY:-0}" != 1 ]; then
    wine_session_start_xvfb
  fi
  "$VEXO_ROOT/tools/prepare-prefix.sh"
  wineserver -p </dev/null >/dev/null 2>&1
  # wine's own services start with the first program of a server session and outlive it; starting them
  # here, with no pipes of ours, keeps them from holding a test runner's output open.
  wine wineboot </dev/null >/dev/null 2>&1
}

# Starts a private Xvfb and points DISPLAY at it.
wine_session_start_xvfb() {
  # Xvfb picks a free display itself and writes its number to the file; its output never reaches our pipes.
  local display_file
  display_file=$(mktemp)
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$display_file" </dev/null >/dev/null 2>&1 &
  VEXO_XVFB_PID=$!
  local i
  for i in $(seq 100); do
    [ -s "$display_file" ] && break
    kill -0 "$VEXO_XVFB_PID" 2>/dev/null || die "Xvfb did not start"
    sleep 0.1
  done
  [ -s "$display_file" ] || die "Xvfb did not report a display"
  export DISPLAY=:$(head -n1 "$display_file")
  rm -f "$display_file"
}
