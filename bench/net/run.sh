#!/usr/bin/env bash
# Runs the network benchmark under wine against the loopback HTTPS test server, which it starts and stops.
# Usage: bench/net/run.sh [MB...]   (body sizes; default 100 300)
set -euo pipefail
source "$(dirname "$0")/../../tools/lib/common.sh"
source "$VEXO_ROOT/tools/lib/wine-session.sh"
vexo_set_run_target
log "measuring the $VEXO_ARCH build: $target_reason"

"$VEXO_ROOT/tools/bootstrap.sh"
"$VEXO_ROOT/tools/build.sh"
state_dir=$VEXO_BUILD_DIR/bench/net/test-server
server=$VEXO_ROOT/tests/support/test_http_server.py
wine_session_start
stop_all() {
  python3 "$server" stop "$state_dir" || true
  wine_session_stop
}
trap stop_all EXIT
python3 "$server" start "$state_dir" "$VEXO_BUILD_DIR/testpki" "$VEXO_ROOT/tests/net/fixtures" >/dev/null
windows_path() { printf 'Z:%s' "${1//\//\\}"; }
wine "$VEXO_BUILD_DIR/bench/net/net_bench.exe" "$(windows_path "$state_dir")" \
  "$(windows_path "$VEXO_BUILD_DIR/testpki/ca.pem")" "$@" </dev/null
