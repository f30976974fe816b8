# The test PKI in the build folder: certificate authorities and server certificates for the HTTPS tests,
# made with openssl when missing (docs/test-platform.md lists the files). Sourced, not run.

VEXO_TEST_PKI_DIR=$VEXO_BUILD_DIR/testpki
VEXO_TEST_PKI_FILES=(ca.pem localhost.pem localhost.key other-ca.pem other-ca-localhost.pem
  other-ca-localhost.key other-host.pem other-host.key)

# test_pki_issue DIR NAME ISSUER SUBJECT_CN EXTENSIONS: a 2048-bit RSA key NAME.key and certificate NAME.pem;
# ISSUER is the name of the CA that signs it, or empty for a self-signed CA. Fails if any step fails (it
# runs under `quietly`, where errexit does not apply, so the steps are chained).
test_pki_issue() {
  local dir=$1 name=$2 issuer=$3 cn=$4 extensions=$5
  local signer=(-signkey "$dir/$name.key")
  [ -z "$issuer" ] || signer=(-CA "$dir/$issuer.pem" -CAkey "$dir/$issuer.key")
  printf '[ext]\n%s\n' "$extensions" >"$dir/$name.ext" &&
    openssl req -new -newkey rsa:2048 -nodes -keyout "$dir/$name.key" -out "$dir/$name.csr" \
      -subj "/O=Vexo test/CN=$cn" &&
    openssl x509 -req -in "$dir/$name.csr" "${signer[@]}" -days 3650 -sha256 \
      -set_serial "0x$(openssl rand -hex 8)" -extfile "$dir/$name.ext" -extensions ext -out "$dir/$name.pem" &&
    rm -f "$dir/$name.csr" "$dir/$name.ext"
}

test_pki_make() {
  local dir=$1
  local ca='basicConstraints=critical,CA:TRUE
keyUsage=critical,keyCertSign,cRLSign
subjectKeyIdentifier=hash'
  local server='basicConstraints=critical,CA:FALSE
keyUsage=critical,digitalSignature,keyEncipherment
extendedKeyUsage=serverAuth
subjectKeyIdentifier=hash
authorityKeyIdentifier=keyid'
  test_pki_issue "$dir" ca "" "Vexo Test Root CA" "$ca" &&
    test_pki_issue "$dir" localhost ca localhost "$server
subjectAltName=DNS:localhost" &&
    test_pki_issue "$dir" other-ca "" "Vexo Unrelated Test CA" "$ca" &&
    test_pki_issue "$dir" other-ca-localhost other-ca localhost "$server
subjectAltName=DNS:localhost" &&
    test_pki_issue "$dir" other-host ca other-host.vexo.test "$server
subjectAltName=DNS:other-host.vexo.test"
}

# Makes the test PKI unless every file of it is there; a partial set is replaced as a whole.
test_pki_ensure() {
  local dir=$VEXO_TEST_PKI_DIR f complete=1
  for f in "${VEXO_TEST_PKI_FILES[@]}"; do
    [ -s "$dir/$f" ] || complete=0
  done
  [ "$complete" = 1 ] && return 0
  log "making the test PKI in $dir"
  rm -rf "$dir.part"
  mkdir -p "$dir.part"
  quietly "$dir.part.log" test_pki_make "$dir.part"
  rm -f "$dir.part.log"
  rm -rf "$dir"
  mv "$dir.part" "$dir"
}
