# Shared settings for the project's scripts: paths, the dependency cache and small helpers. Sourced, not run.

VEXO_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
VEXO_BUILD_DIR=${VEXO_BUILD_DIR:-$VEXO_ROOT/build}
VEXO_TOOLCHAIN_FILE=$VEXO_ROOT/cmake/toolchain-i686-mingw.cmake
MINGW_TRIPLE=i686-w64-mingw32

log() { printf '[%s] %s\n' "$(basename "$0")" "$*" >&2; }
die() { log "error: $*"; exit 1; }

# The dependency cache lives outside the source tree, one prefix per toolchain build.
vexo_toolchain_key() {
  local gcc
  gcc=$("$MINGW_TRIPLE-g++-posix" -dumpfullversion 2>/dev/null) || gcc=none
  printf 'i686-mingw-posix-gcc%s' "$gcc"
}
VEXO_CACHE_ROOT=${VEXO_CACHE_ROOT:-${XDG_CACHE_HOME:-$HOME/.cache}/vexo-deps}
vexo_deps_dir() { printf '%s/%s' "$VEXO_CACHE_ROOT" "$(vexo_toolchain_key)"; }

# Version of a Debian source package as the configured apt sources offer it.
debian_source_version() {
  apt-cache showsrc "$1" 2>/dev/null | awk '/^Version:/ {print $2; exit}'
}

# A stamp names a dependency build: package version plus a hash of the recipe that made it.
dep_stamp() {
  local name=$1 version=$2 recipe=$3
  printf '%s/stamps/%s-%s-%s' "$(vexo_deps_dir)" "$name" "$version" "$(sha1sum "$recipe" | cut -c1-10)"
}
