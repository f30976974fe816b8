#!/usr/bin/env bash
# Builds everything and runs every test under wine. Does its own set-up on a fresh machine of this kind.
set -euo pipefail
source "$(dirname "$0")/lib/common.sh"
source "$VEXO_ROOT/tools/lib/wine-session.sh"

"$VEXO_ROOT/tools/bootstrap.sh"
"$VEXO_ROOT/tools/build.sh"
wine_session_start
ctest --test-dir "$VEXO_BUILD_DIR" --output-on-failure --timeout 300 -j "$(nproc)" </dev/null
