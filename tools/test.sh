#!/usr/bin/env bash
# Builds everything and runs every test under wine. Does its own set-up on a fresh machine of this kind.
# The product's target, i686, is always built whole. Its suites run where the machine runs 32-bit programs;
# where it runs none, the x86_64 build of the same tree is made and its suites run instead.
# VEXO_TEST_ARCH=i686|x86_64|both runs the suites of the one named (or of both) whatever the machine.
# Says how long each step took.
set -euo pipefail
source "$(dirname "$0")/lib/common.sh"

# timed WHAT COMMAND...: runs the command, logs its duration and returns its status.
timed() {
  local what=$1 start=$SECONDS status=0
  shift
  "$@" || status=$?
  log "$what: $((SECONDS - start)) s"
  return "$status"
}

timed "i686 set-up" env VEXO_ARCH=i686 "$VEXO_ROOT/tools/bootstrap.sh"
timed "i686 build" env VEXO_ARCH=i686 "$VEXO_ROOT/tools/build.sh"

choose_suite_targets
for arch in "${suite_targets[@]}"; do
  if [ "$arch" != i686 ]; then
    timed "$arch set-up" env VEXO_ARCH="$arch" "$VEXO_ROOT/tools/bootstrap.sh"
    timed "$arch build" env VEXO_ARCH="$arch" "$VEXO_ROOT/tools/build.sh"
  fi
done
log "running the ${suite_targets[*]} build's suites: $suite_reason"

source "$VEXO_ROOT/tools/lib/wine-session.sh"
run_suites() {
  (
    vexo_set_target "$1"
    wine_session_start
    ctest --test-dir "$VEXO_BUILD_DIR" --output-on-failure --timeout 300 -j "$(nproc)" </dev/null
  )
}

status=0
for arch in "${suite_targets[@]}"; do
  timed "$arch suites" run_suites "$arch" || status=$?
done
exit "$status"
