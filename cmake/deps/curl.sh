#!/usr/bin/env bash
# Builds libcurl for the target's mingw toolchain from Debian's source package: static, TLS through Schannel,
# content decoding through Debian's mingw zlib, no other optional libraries, and only the protocols the
# product speaks (HTTP and HTTPS; 120 KiB less in Install.exe). Only lib/ and the headers.
set -euo pipefail
source "$(dirname "$0")/../../tools/lib/common.sh"

version=$(debian_source_version curl)
dep_begin curl "$version" "$0"
sysroot=/usr/$MINGW_TRIPLE
debian_source_unpack curl "$version" "$work/src"
# Debian's last two patches rename the library for its GnuTLS and NSS flavours; take them off again, as
# Debian itself does for the plain libcurl.
for flavour in 99_nss 90_gnutls; do
  patch -s -R -d "$work/src" -p1 <"$work/src/debian/patches/$flavour.patch"
done

cd "$work/src"
# pkg-config must see only the mingw sysroot, never the build machine's libraries. No CA bundle or path
# of the build machine is compiled in: Windows' own store or CURLOPT_CAINFO decide trust.
quietly "$work/configure.log" env PKG_CONFIG_LIBDIR="$sysroot/lib/pkgconfig" PKG_CONFIG_PATH= \
  ./configure --host="$MINGW_TRIPLE" --prefix="$prefix" \
  CC="$MINGW_TRIPLE-gcc-posix" AR="$MINGW_TRIPLE-ar" RANLIB="$MINGW_TRIPLE-ranlib" \
  --disable-shared --enable-static --disable-dependency-tracking \
  --with-schannel --with-zlib="$sysroot" --without-ca-bundle --without-ca-path \
  --disable-pthreads --disable-ldap --disable-ldaps --disable-manual \
  --without-libpsl --without-brotli --without-zstd --without-libidn2 --without-nghttp2 \
  --without-librtmp --without-libgsasl --without-hyper --without-ngtcp2 --without-nghttp3 \
  --without-quiche --without-msh3 \
  --disable-ftp --disable-file --disable-dict --disable-gopher --disable-imap --disable-pop3 --disable-smtp \
  --disable-telnet --disable-tftp --disable-smb --disable-rtsp --disable-mqtt
quietly "$work/build.log" make -C lib -j 2
quietly "$work/install.log" make -C lib install
quietly "$work/install-headers.log" make -C include install
dep_done
