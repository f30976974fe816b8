#!/usr/bin/env bash
# Configures (once) and builds the whole tree in the build folder with the cached dependencies. The
# installer's download address points at the loopback package listener that the tests and the demo run,
# on the port of this run (VEXO_PACKAGE_PORT), also when an earlier run configured another one.
set -euo pipefail
source "$(dirname "$0")/lib/common.sh"

# Compiles go through ccache, whose store outlives the tree (~/.cache/ccache): a fresh clone compiles what
# an earlier build already compiled in no time. Paths inside the tree are hashed relative to it, so clones in
# other folders share the store; objects keep the compile folder of their first build in their debug data.
export CCACHE_BASEDIR=$VEXO_ROOT CCACHE_NOHASHDIR=1
package_url="https://localhost:$VEXO_PACKAGE_PORT/installpack.zip"
if [ -f "$VEXO_BUILD_DIR/build.ninja" ] &&
  ! grep -qxF "VEXO_PACKAGE_URL:STRING=$package_url" "$VEXO_BUILD_DIR/CMakeCache.txt"; then
  cmake -B "$VEXO_BUILD_DIR" -DVEXO_PACKAGE_URL="$package_url" >/dev/null
fi
if [ ! -f "$VEXO_BUILD_DIR/build.ninja" ]; then
  cmake -S "$VEXO_ROOT" -B "$VEXO_BUILD_DIR" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$VEXO_TOOLCHAIN_FILE" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache \
    -DVEXO_DEPS_DIR="$(vexo_deps_dir)" -DVEXO_WARNINGS_AS_ERRORS=ON \
    -DVEXO_PACKAGE_URL="$package_url" \
    -DVEXO_PACKAGE_PUBLIC_KEY="$VEXO_ROOT/tests/keys/package-test-public.pem" >/dev/null
fi
cmake --build "$VEXO_BUILD_DIR" -j "$(nproc)"
