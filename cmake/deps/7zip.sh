#!/usr/bin/env bash
# Builds the standalone 7-Zip console (7za) for the target's mingw toolchain from Debian's source package and
# installs it as bin/7z.exe in the dependency cache. Not part of the product: the wine prefix gets it as
# the system's 7z.exe for the tests and the demo (tools/prepare-prefix.sh).
set -euo pipefail
source "$(dirname "$0")/../../tools/lib/common.sh"

version=$(debian_source_version 7zip)
dep_begin 7zip "$version" "$0"
debian_source_unpack 7zip "$version" "$work/src"
# IS_MINGW selects the Windows sources, MSYSTEM the Unix shell commands of the makefile.
quietly "$work/build.log" make -C "$work/src/CPP/7zip/Bundles/Alone" -f makefile.gcc -j 2 \
  IS_MINGW=1 MSYSTEM=1 CC="$MINGW_TRIPLE-gcc-posix" CXX="$MINGW_TRIPLE-g++-posix" RC="$MINGW_TRIPLE-windres"
mkdir -p "$prefix/bin"
"$MINGW_TRIPLE-strip" -o "$prefix/bin/7z.exe" "$work/src/CPP/7zip/Bundles/Alone/_o/7za.exe"
dep_done
