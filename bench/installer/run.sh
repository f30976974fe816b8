#!/usr/bin/env bash
# Runs the installer benchmark: Install.exe end to end against the limit (libcurl download to a file, then
# the 7-Zip console) and its start-up against a bare window, on one loopback HTTPS server, one wine prefix and
# one set of packages. Does its own set-up (packages, build, packages made in the build tree, wine session,
# server) and ends every process it starts.
# Usage: bench/installer/run.sh [-r ROUNDS] [SIZE_MB...]   (default: 5 rounds, packages of 10 70 300 MB)
set -euo pipefail
source "$(dirname "$0")/../../tools/lib/common.sh"
source "$VEXO_ROOT/tools/lib/wine-session.sh"
vexo_set_run_target
log "measuring the $VEXO_ARCH build: $target_reason"

rounds=5
if [ "${1:-}" = -r ]; then
  rounds=$2
  shift 2
fi
sizes=("$@")
[ ${#sizes[@]} -gt 0 ] || sizes=(10 70 300)

"$VEXO_ROOT/tools/bootstrap.sh"
"$VEXO_ROOT/tools/build.sh"

work=$VEXO_BUILD_DIR/bench/installer
packages=$work/packages
serve_dir=$work/serve
state_dir=$work/package-server
host_7z=$(sed -n 's/^VEXO_HOST_7Z:FILEPATH=//p' "$VEXO_BUILD_DIR/CMakeCache.txt")
python3 "$VEXO_ROOT/bench/installer/make_packages.py" --seven-zip "$host_7z" \
  --program "$VEXO_BUILD_DIR/package/VexoClient.exe" --program "$VEXO_BUILD_DIR/package/Uninstall.exe" \
  --output-dir "$packages" "${sizes[@]}"
# Packages are signed with the private half of the key built into Install.exe, as a release would be.
public_key=$(sed -n 's/^VEXO_PACKAGE_PUBLIC_KEY:FILEPATH=//p' "$VEXO_BUILD_DIR/CMakeCache.txt")
signing_key=$(sed -n 's/^VEXO_PACKAGE_SIGNING_KEY:FILEPATH=//p' "$VEXO_BUILD_DIR/CMakeCache.txt")
[ -n "$signing_key" ] || signing_key=${public_key%-public.pem}-private.pem
for size in "${sizes[@]}"; do
  package=$packages/installpack-${size}MB.zip
  if [ -z "$public_key" ]; then
    rm -f "$package.sig"
  elif [ ! "$package.sig" -nt "$package" ]; then
    "$VEXO_ROOT/tools/sign-package.sh" "$signing_key" "$package"
  fi
done
stripped=$work/Install-stripped.exe
"$MINGW_TRIPLE-strip" -o "$stripped" "$VEXO_BUILD_DIR/app/Install.exe"
mkdir -p "$serve_dir"

server=$VEXO_ROOT/tests/support/test_http_server.py
wine_session_start
stop_all() {
  python3 "$server" stop "$state_dir" || true
  wine_session_stop
}
trap stop_all EXIT
# The installer's download address has a fixed port, which other worktrees' end-to-end tests also listen on:
# wait (up to 50 minutes) until the server gets it.
for attempt in $(seq 600); do
  if [ -z "$(ss -Hltn "sport = :$VEXO_PACKAGE_PORT")" ] &&
    python3 "$server" start "$state_dir" "$VEXO_BUILD_DIR/testpki" "$VEXO_ROOT/tests/app" "$serve_dir" \
      "$VEXO_PACKAGE_PORT" >/dev/null 2>"$work/server-start.log"; then
    break
  fi
  [ "$attempt" -lt 600 ] || die "port $VEXO_PACKAGE_PORT stayed in use"
  log "port $VEXO_PACKAGE_PORT is in use by another server; waiting"
  sleep 5
done

windows_path() { printf 'Z:%s' "${1//\//\\}"; }
echo "$(date -u '+%Y-%m-%d %H:%M UTC'), $(nproc) cores; load before: $(uptime)"
wine "$work/installer_bench.exe" "$(windows_path "$serve_dir/installpack.zip")" "$(windows_path "$packages")" \
  "$(windows_path "$stripped")" "$rounds" "${sizes[@]}" </dev/null
echo "load after: $(uptime)"
