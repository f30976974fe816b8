#!/usr/bin/env bash
# Makes a machine of this kind ready to build for the target (VEXO_ARCH): Debian packages, then the
# libraries built for the target's mingw toolchain into the cache. Idempotent; fast when everything is
# already in place.
set -euo pipefail
source "$(dirname "$0")/lib/common.sh"

debian_arch=${VEXO_ARCH//_/-}
packages=(
  "g++-mingw-w64-$debian_arch-posix" "gcc-mingw-w64-$debian_arch-posix" "binutils-mingw-w64-$debian_arch" mingw-w64-tools
  libz-mingw-w64-dev googletest
  wine wine32:i386 wine64 xvfb xdotool imagemagick fonts-wqy-microhei
  7zip python3 python3-pil openssl cmake ninja-build ccache dpkg-dev
)

missing_packages() {
  local p
  for p in "${packages[@]}"; do
    dpkg-query -W -f '${db:Status-Status}' "$p" 2>/dev/null | grep -qx installed || printf '%s\n' "$p"
  done
}

# Source packages come from the same archive as the binary ones: a deb-src twin of the system's sources.
ensure_deb_src() {
  local twin=/etc/apt/sources.list.d/vexo-deb-src.sources
  [ -f "$twin" ] && return 1
  [ -f /etc/apt/sources.list.d/debian.sources ] || die "no /etc/apt/sources.list.d/debian.sources to derive deb-src from"
  sed 's/^Types: deb$/Types: deb-src/' /etc/apt/sources.list.d/debian.sources >"$twin"
  return 0
}

need_update=0
dpkg --print-foreign-architectures | grep -qx i386 || { dpkg --add-architecture i386; need_update=1; }
ensure_deb_src && need_update=1
mapfile -t missing < <(missing_packages)
[ ${#missing[@]} -gt 0 ] && need_update=1
[ -n "$(debian_source_version curl)" ] || need_update=1

if [ "$need_update" = 1 ]; then
  log "updating package lists"
  apt-get update -qq
fi
if [ ${#missing[@]} -gt 0 ]; then
  log "installing ${missing[*]}"
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}" >/dev/null
fi

# The libraries that the tree links. The 7-Zip console is made only for a wine prefix that gets it
# (tools/prepare-prefix.sh): a target whose programs this machine never runs needs none.
for recipe in googletest libzip curl 7zip-sha256; do
  "$VEXO_ROOT/cmake/deps/$recipe.sh"
done
