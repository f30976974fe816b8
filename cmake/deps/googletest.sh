#!/usr/bin/env bash
# Builds GoogleTest for the target's mingw toolchain from the source Debian's googletest package ships.
set -euo pipefail
source "$(dirname "$0")/../../tools/lib/common.sh"

dep_begin googletest "$(dpkg-query -W -f '${Version}' googletest)" "$0"
quietly "$work/configure.log" cmake -S /usr/src/googletest -B "$work/build" -G Ninja \
  -DCMAKE_TOOLCHAIN_FILE="$VEXO_TOOLCHAIN_FILE" -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_INSTALL_PREFIX="$prefix" -DBUILD_GMOCK=ON -DINSTALL_GTEST=ON
quietly "$work/build.log" cmake --build "$work/build" -j 2
quietly "$work/install.log" cmake --install "$work/build"
dep_done
