// Signature check: the downloaded package must carry an ECDSA P-256 signature over its SHA-256, made with
// the private key of the public key built into the installer, before anything of it is unpacked.
#pragma once

#include <cstdint>
#include <vector>

#include "app/phases/package_hash.h"
#include "runtime/w_string.h"

namespace vexo::app {

enum class SignatureCheck : std::int32_t {
  kValid,      // the signature verifies with the key over the package's hash
  kMissing,    // there is no signature file
  kMalformed,  // the file is not one DER ECDSA P-256 signature
  kMismatch,   // a well-formed signature that does not verify: another file, another key, a damaged package
  kError,      // the package or the signature cannot be read, the key is unusable, or CNG failed
};

// Checks the signature file at `signature_path` (the DER SEQUENCE { INTEGER r, INTEGER s } that
// `openssl dgst -sha256 -sign` writes, at most 72 bytes) against the package at `package_path`, with
// `public_key`: the 64 bytes X then Y (big-endian) of a P-256 point. `hashed`, when given, is the
// package's hash taken as it was written (the file is then not read); otherwise the file is hashed in
// blocks of 1 MiB, so any size needs one block of memory. Each outcome is written to the install log with
// its cause. Returns kError for a key that is not 64 bytes or that CNG refuses, and when the package
// cannot be read.
SignatureCheck VerifyPackageSignature(const CWString& package_path, const CWString& signature_path,
                                      const std::vector<std::uint8_t>& public_key,
                                      const HashedPackage* hashed = nullptr);

}  // namespace vexo::app
