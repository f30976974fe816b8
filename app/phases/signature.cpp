#include "app/phases/signature.h"

#include <windows.h>
#include <bcrypt.h>

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstring>

#include "app/install_log.h"
#include "runtime/win/scoped_bcrypt.h"
#include "runtime/win/scoped_handles.h"

namespace vexo::app {
namespace {

// One coordinate of a P-256 point, and each of the r and s halves of a signature.
constexpr std::size_t kFieldSize = 32;
// The longest DER signature: SEQUENCE { INTEGER r, INTEGER s } whose integers both need a leading zero.
constexpr std::size_t kMaxDerSize = 2 + 2 * (2 + 1 + kFieldSize);
// Package bytes read and hashed at a time.
constexpr DWORD kHashBlockSize = 1 << 20;
// What BCryptVerifySignature answers for a signature that does not verify (ntstatus.h, which clashes
// with windows.h).
constexpr NTSTATUS kStatusInvalidSignature = static_cast<NTSTATUS>(0xC000A000UL);

using RawSignature = std::array<std::uint8_t, 2 * kFieldSize>;

bool Succeeded(NTSTATUS status) { return status >= 0; }

// Reads the DER INTEGER at `at` into the kFieldSize bytes at `out`, right-aligned, and moves `at` past
// it. Only the strict form is accepted: the shortest encoding of a non-negative value of at most
// kFieldSize bytes.
bool ReadDerInteger(const std::uint8_t*& at, const std::uint8_t* end, std::uint8_t* out) {
  if (end - at < 2 || at[0] != 0x02) return false;
  std::size_t length = at[1];
  const std::uint8_t* value = at + 2;
  if (length == 0 || length > static_cast<std::size_t>(end - value)) return false;
  if ((value[0] & 0x80) != 0) return false;
  if (value[0] == 0 && length > 1) {
    if ((value[1] & 0x80) == 0) return false;
    ++value;
    --length;
  }
  if (length > kFieldSize) return false;
  std::fill(out, out + kFieldSize - length, std::uint8_t{0});
  std::copy(value, value + length, out + kFieldSize - length);
  at = value + length;
  return true;
}

// The r || s form that CNG verifies, from SEQUENCE { INTEGER r, INTEGER s } with nothing after it.
bool DecodeDerSignature(const std::uint8_t* der, std::size_t size, RawSignature& raw) {
  if (size < 2 || der[0] != 0x30 || der[1] != size - 2) return false;
  const std::uint8_t* at = der + 2;
  const std::uint8_t* end = der + size;
  return ReadDerInteger(at, end, raw.data()) && ReadDerInteger(at, end, raw.data() + kFieldSize) && at == end;
}

// Fills `buffer` from `file` until it is full or the file ends; `read` is the byte count. False on a read
// error.
bool ReadUpTo(HANDLE file, std::uint8_t* buffer, DWORD size, DWORD& read) {
  read = 0;
  while (read < size) {
    DWORD got = 0;
    if (!::ReadFile(file, buffer + read, size - read, &got, nullptr)) return false;
    if (got == 0) break;
    read += got;
  }
  return true;
}

// Reads and decodes the signature file. kValid here means only that a signature of the right form was
// read into `raw`.
SignatureCheck ReadSignature(const CWString& path, RawSignature& raw) {
  win::ScopedHandle file(::CreateFileW(path.GetText(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                       FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) {
    const DWORD error = ::GetLastError();
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) {
      LogFormat(L"signature: no signature file %s", path.GetText());
      return SignatureCheck::kMissing;
    }
    LogFormat(L"signature: cannot open %s (error %u)", path.GetText(), static_cast<unsigned>(error));
    return SignatureCheck::kError;
  }
  // One byte more than the longest signature tells a longer file from one of exactly that size.
  std::uint8_t der[kMaxDerSize + 1];
  DWORD size = 0;
  if (!ReadUpTo(file.get(), der, sizeof(der), size)) {
    LogFormat(L"signature: cannot read %s (error %u)", path.GetText(), static_cast<unsigned>(::GetLastError()));
    return SignatureCheck::kError;
  }
  if (!DecodeDerSignature(der, size, raw)) {
    LogFormat(L"signature: %s is not a DER ECDSA P-256 signature (%u bytes read)", path.GetText(),
              static_cast<unsigned>(size));
    return SignatureCheck::kMalformed;
  }
  return SignatureCheck::kValid;
}

void LogCngFailure(const wchar_t* call, NTSTATUS status) {
  LogFormat(L"signature: %s failed (status 0x%08X)", call, static_cast<unsigned>(status));
}

// A P-256 public key imported into CNG; the provider outlives the key made with it.
struct VerifyingKey {
  win::ScopedAlgorithmProvider provider;
  win::ScopedCngKey key;
};

// Imports X || Y as an ECDSA P-256 public key. kValid here means only that `out` holds the key.
SignatureCheck ImportPublicKey(const std::vector<std::uint8_t>& public_key, VerifyingKey& out) {
  if (public_key.size() != 2 * kFieldSize) {
    LogFormat(L"signature: the public key has %u bytes, not %u", static_cast<unsigned>(public_key.size()),
              static_cast<unsigned>(2 * kFieldSize));
    return SignatureCheck::kError;
  }
  NTSTATUS status = ::BCryptOpenAlgorithmProvider(out.provider.receive(), BCRYPT_ECDSA_P256_ALGORITHM, nullptr, 0);
  if (!Succeeded(status)) {
    LogCngFailure(L"BCryptOpenAlgorithmProvider(ECDSA_P256)", status);
    return SignatureCheck::kError;
  }
  std::vector<std::uint8_t> blob(sizeof(BCRYPT_ECCKEY_BLOB) + public_key.size());
  const BCRYPT_ECCKEY_BLOB header{BCRYPT_ECDSA_PUBLIC_P256_MAGIC, static_cast<ULONG>(kFieldSize)};
  std::memcpy(blob.data(), &header, sizeof(header));
  std::copy(public_key.begin(), public_key.end(), blob.begin() + sizeof(header));
  status = ::BCryptImportKeyPair(out.provider.get(), nullptr, BCRYPT_ECCPUBLIC_BLOB, out.key.receive(), blob.data(),
                                 static_cast<ULONG>(blob.size()), 0);
  if (!Succeeded(status)) {
    LogCngFailure(L"BCryptImportKeyPair", status);
    return SignatureCheck::kError;
  }
  return SignatureCheck::kValid;
}

// The SHA-256 of the file at `path`, read one block at a time. kValid here means only that `out` holds it.
SignatureCheck HashFile(const CWString& path, HashedPackage& out) {
  win::ScopedHandle file(::CreateFileW(path.GetText(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                       FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  if (!file) {
    LogFormat(L"signature: cannot open the package %s (error %u)", path.GetText(),
              static_cast<unsigned>(::GetLastError()));
    return SignatureCheck::kError;
  }
  PackageHash hash;
  std::vector<std::uint8_t> block(kHashBlockSize);
  for (;;) {
    DWORD got = 0;
    if (!::ReadFile(file.get(), block.data(), kHashBlockSize, &got, nullptr)) {
      LogFormat(L"signature: cannot read the package %s after %I64u bytes (error %u)", path.GetText(), hash.bytes(),
                static_cast<unsigned>(::GetLastError()));
      return SignatureCheck::kError;
    }
    if (got == 0) break;
    hash.Add(block.data(), got);
  }
  hash.Finish(out);
  return SignatureCheck::kValid;
}

}  // namespace

SignatureCheck VerifyPackageSignature(const CWString& package_path, const CWString& signature_path,
                                      const std::vector<std::uint8_t>& public_key, const HashedPackage* hashed) {
  RawSignature signature{};
  SignatureCheck check = ReadSignature(signature_path, signature);
  if (check != SignatureCheck::kValid) return check;
  VerifyingKey key;
  check = ImportPublicKey(public_key, key);
  if (check != SignatureCheck::kValid) return check;
  HashedPackage package;
  if (hashed != nullptr) {
    package = *hashed;
  } else {
    check = HashFile(package_path, package);
    if (check != SignatureCheck::kValid) return check;
  }

  const NTSTATUS status =
      ::BCryptVerifySignature(key.key.get(), nullptr, package.sha256.data(), static_cast<ULONG>(package.sha256.size()),
                              signature.data(), static_cast<ULONG>(signature.size()), 0);
  if (Succeeded(status)) {
    LogFormat(L"signature: valid for %s (%I64u bytes%s)", package_path.GetText(), package.bytes,
              hashed != nullptr ? L", hashed as they arrived" : L"");
    return SignatureCheck::kValid;
  }
  if (status == kStatusInvalidSignature) {
    LogFormat(L"signature: %s does not match %s (%I64u bytes)", signature_path.GetText(), package_path.GetText(),
              package.bytes);
    return SignatureCheck::kMismatch;
  }
  LogCngFailure(L"BCryptVerifySignature", status);
  return SignatureCheck::kError;
}

}  // namespace vexo::app
