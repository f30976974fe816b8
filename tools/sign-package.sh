#!/usr/bin/env bash
# Signs a product package: writes PACKAGE.sig, the ECDSA P-256 signature over the SHA-256 of the package
# in the DER form that `openssl dgst -sign` writes (docs/package-signature.md). The private key is a PEM
# file of a P-256 key. A failed run leaves no signature file behind.
# Usage: tools/sign-package.sh PRIVATE_KEY.pem PACKAGE
set -euo pipefail

[ $# -eq 2 ] || { echo "usage: $0 PRIVATE_KEY.pem PACKAGE" >&2; exit 2; }
key=$1
package=$2
signature=$package.sig

rm -f "$signature"
key_text=$(openssl pkey -in "$key" -noout -text 2>/dev/null) || key_text=
[[ $key_text == *"ASN1 OID: prime256v1"* ]] || { echo "$0: $key is not a P-256 private key" >&2; exit 1; }
[ -f "$package" ] || { echo "$0: no package $package" >&2; exit 1; }

trap 'rm -f "$signature.part"' EXIT
openssl dgst -sha256 -sign "$key" -out "$signature.part" "$package"
mv "$signature.part" "$signature"
