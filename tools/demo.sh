#!/usr/bin/env bash
# Runs the installer's main job under wine on this machine. Does its own set-up on a fresh machine.
set -euo pipefail
source "$(dirname "$0")/lib/common.sh"
source "$VEXO_ROOT/tools/lib/wine-session.sh"

"$VEXO_ROOT/tools/bootstrap.sh"
"$VEXO_ROOT/tools/build.sh"
wine_session_start
log "starting Install.exe"
status=0
wine "$VEXO_BUILD_DIR/app/Install.exe" </dev/null || status=$?
log "Install.exe exited with status $status"
exit "$status"
