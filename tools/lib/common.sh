# Shared settings for the project's scripts: paths, the dependency cache and small helpers. Sourced, not run.

VEXO_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
log() { printf '[%s] %s\n' "$(basename "$0")" "$*" >&2; }
die() { log "error: $*"; exit 1; }

# The target of this run (VEXO_ARCH): i686 is the product; x86_64 builds the same tree as 64-bit programs, to
# run the tests where the machine runs no 32-bit program. Each target has its own toolchain, dependency
# prefix, build folder (VEXO_BUILD_DIR for i686, the same name with -x86_64 for x86_64) and wine prefix.
# vexo_set_target ARCH makes ARCH the target: VEXO_ARCH (exported, for the scripts this one runs),
# MINGW_TRIPLE, VEXO_TOOLCHAIN_FILE and VEXO_BUILD_DIR.
vexo_build_base=${VEXO_BUILD_DIR:-$VEXO_ROOT/build}
vexo_build_base=${vexo_build_base%-x86_64}
vexo_set_target() {
  case "$1" in
    i686) VEXO_BUILD_DIR=$vexo_build_base ;;
    x86_64) VEXO_BUILD_DIR=$vexo_build_base-x86_64 ;;
    *) die "VEXO_ARCH must be i686 or x86_64, not $1" ;;
  esac
  export VEXO_ARCH=$1
  MINGW_TRIPLE=$1-w64-mingw32
  VEXO_TOOLCHAIN_FILE=$VEXO_ROOT/cmake/toolchain-$1-mingw.cmake
}
# Whether the caller named the target.
vexo_arch_given=${VEXO_ARCH:-}
vexo_set_target "${VEXO_ARCH:-i686}"

# Whether this machine runs 32-bit x86 programs: some virtual machines' kernels refuse them ("Exec format
# error"), and with them wine's 32-bit loader.
machine_runs_i686() { /lib/ld-linux.so.2 --version >/dev/null 2>&1; }

# Sets `machine_target` to the target whose programs this machine runs, the product's (i686) where it runs
# 32-bit programs and x86_64 where it runs none, and `machine_target_reason` to why.
pick_machine_target() {
  if machine_runs_i686; then
    machine_target=i686 machine_target_reason="this machine runs 32-bit programs"
  else
    machine_target=x86_64
    machine_target_reason="this machine runs no 32-bit x86 program (/lib/ld-linux.so.2: Exec format error), so wine runs the 64-bit build"
  fi
}

# For scripts that run the programs under wine: keeps the target the caller named, else makes it the
# machine's (pick_machine_target). Sets `target_reason` to why.
vexo_set_run_target() {
  if [ -n "$vexo_arch_given" ]; then
    target_reason="VEXO_ARCH=$vexo_arch_given"
  else
    pick_machine_target
    vexo_set_target "$machine_target"
    target_reason=$machine_target_reason
  fi
}

# The fixed loopback port of the package listener that test and demo builds download from.
VEXO_PACKAGE_PORT=${VEXO_PACKAGE_PORT:-47443}

# The dependency cache lives outside the source tree, one prefix per toolchain build.
vexo_toolchain_key() {
  local gcc
  gcc=$("$MINGW_TRIPLE-g++-posix" -dumpfullversion 2>/dev/null) || gcc=none
  printf '%s-mingw-posix-gcc%s' "$VEXO_ARCH" "$gcc"
}
VEXO_CACHE_ROOT=${VEXO_CACHE_ROOT:-${XDG_CACHE_HOME:-$HOME/.cache}/vexo-deps}
vexo_deps_dir() { printf '%s/%s' "$VEXO_CACHE_ROOT" "$(vexo_toolchain_key)"; }

# Newest version of a Debian source package that the configured apt sources offer (empty if none).
debian_source_version() {
  local v best=
  for v in $(apt-cache showsrc "$1" 2>/dev/null | awk '/^Version:/ {print $2}'); do
    if [ -z "$best" ] || dpkg --compare-versions "$v" gt "$best"; then best=$v; fi
  done
  printf '%s' "$best"
}

# Sets `suite_targets` (the targets whose programs this run executes under wine) and `suite_reason` (why):
# VEXO_TEST_ARCH (i686, x86_64 or both) when given; else the machine's target (pick_machine_target).
choose_suite_targets() {
  case "${VEXO_TEST_ARCH:-}" in
    i686 | x86_64) suite_targets=("$VEXO_TEST_ARCH") suite_reason="VEXO_TEST_ARCH=$VEXO_TEST_ARCH" ;;
    both) suite_targets=(i686 x86_64) suite_reason="VEXO_TEST_ARCH=both" ;;
    "")
      pick_machine_target
      suite_targets=("$machine_target") suite_reason=$machine_target_reason
      ;;
    *) die "VEXO_TEST_ARCH must be i686, x86_64 or both, not $VEXO_TEST_ARCH" ;;
  esac
}

# Runs a command with its output going to a log file; on failure prints the log's tail and fails.
quietly() {
  local logfile=$1 status=0
  shift
  "$@" >"$logfile" 2>&1 </dev/null || status=$?
  if [ "$status" != 0 ]; then
    log "failed ($status): $*"
    tail -n 60 "$logfile" >&2
  fi
  return "$status"
}

# Unpacks a Debian source package (Debian's patches applied) into DEST. The downloaded files are kept in
# the cache, one folder per package version, so a rebuild needs no network.
debian_source_unpack() {
  local name=$1 version=$2 dest=$3
  local files=$VEXO_CACHE_ROOT/sources/$name-$version
  if [ ! -f "$files/.complete" ]; then
    # The targets' recipes share the downloads and may run at once: one downloads, the others wait.
    mkdir -p "$VEXO_CACHE_ROOT/sources"
    (
      flock 8
      if [ ! -f "$files/.complete" ]; then
        rm -rf "$files.part"
        mkdir -p "$files.part"
        (cd "$files.part" && quietly download.log apt-get source --download-only -qq "$name=$version")
        rm -f "$files.part/download.log"
        rm -rf "$files"
        mv "$files.part" "$files"
        touch "$files/.complete"
      fi
    ) 8>"$VEXO_CACHE_ROOT/sources/$name-$version.lock"
  fi
  local dsc
  dsc=$(find "$files" -maxdepth 1 -name "${name}_*.dsc" | head -n1)
  [ -n "$dsc" ] || die "no .dsc for $name $version in $files"
  quietly "$dest.unpack.log" dpkg-source -x "$dsc" "$dest"
  rm -f "$dest.unpack.log"
}

# Serialises dependency builds between worktrees that share the cache; held until the script ends.
dep_lock() {
  mkdir -p "$(vexo_deps_dir)"
  exec 9>"$(vexo_deps_dir)/.build.lock"
  flock 9
}

# A stamp names a dependency build: package version plus a hash of the recipe that made it.
dep_stamp() {
  local name=$1 version=$2 recipe=$3
  printf '%s/stamps/%s-%s-%s' "$(vexo_deps_dir)" "$name" "$version" "$(sha1sum "$recipe" | cut -c1-10)"
}

# Opens a dependency recipe. Ends the recipe at once when this version was already built by it; otherwise
# takes the build lock and sets `prefix` (the cache prefix to install into) and `work` (a temporary
# folder, removed when the recipe ends). dep_done marks the build complete.
dep_begin() {
  local name=$1 version=$2 recipe=$3
  [ -n "$version" ] || die "no $name source available (deb-src entry missing?)"
  dep_stamp_file=$(dep_stamp "$name" "$version" "$recipe")
  # The cache holds one build of each dependency: the one its last build recorded as current.
  dep_current_file=$(vexo_deps_dir)/stamps/$name.current
  # (A cache from before this record counts its one stamp as current.)
  if [ -f "$dep_stamp_file" ] && [ ! -f "$dep_current_file" ]; then printf '%s' "$dep_stamp_file" >"$dep_current_file"; fi
  dep_is_current() { [ -f "$dep_stamp_file" ] && [ "$(cat "$dep_current_file" 2>/dev/null)" = "$dep_stamp_file" ]; }
  dep_is_current && exit 0
  dep_lock
  dep_is_current && exit 0
  prefix=$(vexo_deps_dir)
  work=$(mktemp -d)
  trap 'rm -rf "$work"' EXIT
  log "building $name $version into $prefix"
}

dep_done() {
  mkdir -p "$(dirname "$dep_stamp_file")"
  touch "$dep_stamp_file"
  printf '%s' "$dep_stamp_file" >"$dep_current_file"
}
