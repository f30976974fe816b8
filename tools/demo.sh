#!/usr/bin/env bash
# Runs the installer's main job under wine: builds everything, serves the sample product package over
# HTTPS on loopback (test CA trusted in the prefix) and runs Install.exe against it. Does its own set-up on
# a fresh machine. With a display and a terminal the user clicks through it; otherwise it runs on Xvfb,
# drives start -> progress -> done -> launch with real input, saves a screenshot of each page in
# demo-screenshots/ of the build folder and prints what was installed.
# The installer is the product's 32-bit build where the machine runs 32-bit programs, else its x86_64
# build (VEXO_ARCH=i686|x86_64 picks one).
set -euo pipefail
source "$(dirname "$0")/lib/common.sh"

VEXO_ARCH=i686 "$VEXO_ROOT/tools/bootstrap.sh"
VEXO_ARCH=i686 "$VEXO_ROOT/tools/build.sh"
vexo_set_run_target
if [ "$VEXO_ARCH" != i686 ]; then
  "$VEXO_ROOT/tools/bootstrap.sh"
  "$VEXO_ROOT/tools/build.sh"
fi
log "installing with the $VEXO_ARCH build of Install.exe: $target_reason"
source "$VEXO_ROOT/tools/lib/wine-session.sh"

interactive=0
if [ -n "${DISPLAY:-}" ] && [ -t 0 ] && [ -t 1 ]; then interactive=1; fi
VEXO_USE_DISPLAY=$interactive wine_session_start

server=$VEXO_ROOT/tests/support/test_http_server.py
state_dir=$VEXO_BUILD_DIR/tests/app/package-server
package_dir=$VEXO_BUILD_DIR/package
stop_demo() {
  python3 "$server" stop "$state_dir" || true
  wine_session_stop
}
trap stop_demo EXIT
python3 "$server" start "$state_dir" "$VEXO_BUILD_DIR/testpki" "$VEXO_ROOT/tests/app" "$package_dir" \
  "$VEXO_PACKAGE_PORT" >/dev/null
log "serving $package_dir/installpack.zip at https://localhost:$VEXO_PACKAGE_PORT/installpack.zip"

if [ "$interactive" = 1 ]; then
  log "starting Install.exe on $DISPLAY: click through it, close it to end the demo"
  status=0
  wine "$VEXO_BUILD_DIR/app/Install.exe" </dev/null || status=$?
  log "Install.exe exited with status $status"
  exit "$status"
fi

shots=$VEXO_BUILD_DIR/demo-screenshots
rm -rf "$shots"
mkdir -p "$shots"
log "driving Install.exe on Xvfb with real input"
status=0
wine "$VEXO_BUILD_DIR/tests/app/install_demo_driver.exe" "$shots" </dev/null || status=$?
log "screenshots of each page are in $shots"
exit "$status"
