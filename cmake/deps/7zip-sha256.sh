#!/usr/bin/env bash
# Builds 7-Zip's SHA-256 (public domain C code by Igor Pavlov: the SHA extensions of the processor when it
# has them, portable code otherwise) for the target's mingw toolchain from Debian's 7zip source package, as the
# static library lib7zip-sha256.a with its headers in include/7zip-sha256/.
set -euo pipefail
source "$(dirname "$0")/../../tools/lib/common.sh"

version=$(debian_source_version 7zip)
dep_begin 7zip-sha256 "$version" "$0"
debian_source_unpack 7zip "$version" "$work/src"
# Windows gives 32-bit threads a 4-byte aligned stack; the SSE code keeps 16-byte values on it. (The 64-bit
# ABI aligns every stack to 16 bytes.)
flags=(-O2)
[ "$VEXO_ARCH" = i686 ] && flags+=(-mincoming-stack-boundary=2)
objects=()
for source in Sha256.c Sha256Opt.c CpuArch.c; do
  "$MINGW_TRIPLE-gcc-posix" "${flags[@]}" -c "$work/src/C/$source" -o "$work/${source%.c}.o"
  objects+=("$work/${source%.c}.o")
done
mkdir -p "$prefix/lib" "$prefix/include/7zip-sha256"
rm -f "$prefix/lib/lib7zip-sha256.a"
"$MINGW_TRIPLE-ar" rcs "$prefix/lib/lib7zip-sha256.a" "${objects[@]}"
for header in Sha256.h 7zTypes.h 7zWindows.h Compiler.h CpuArch.h; do
  cp "$work/src/C/$header" "$prefix/include/7zip-sha256/"
done
dep_done
