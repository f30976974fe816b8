#include "app/phases/package_hash.h"

#include <windows.h>
#include <bcrypt.h>

#include <algorithm>

namespace vexo::app {

PackageHash::PackageHash() {
  NTSTATUS status = ::BCryptOpenAlgorithmProvider(provider_.receive(), BCRYPT_SHA256_ALGORITHM, nullptr, 0);
  if (status < 0) {
    Fail(L"BCryptOpenAlgorithmProvider(SHA256)", status);
    return;
  }
  status = ::BCryptCreateHash(provider_.get(), hash_.receive(), nullptr, 0, nullptr, 0, 0);
  if (status < 0) {
    Fail(L"BCryptCreateHash", status);
    return;
  }
  ok_ = true;
}

bool PackageHash::Add(const void* data, std::size_t size) {
  if (!ok_ || finished_) return false;
  const auto* bytes = static_cast<const UCHAR*>(data);
  // CNG takes at most a ULONG of bytes a call.
  while (size > 0) {
    const ULONG piece = static_cast<ULONG>(std::min<std::size_t>(size, 1u << 30));
    const NTSTATUS status = ::BCryptHashData(hash_.get(), const_cast<UCHAR*>(bytes), piece, 0);
    if (status < 0) return Fail(L"BCryptHashData", status);
    bytes += piece;
    size -= piece;
    bytes_ += piece;
  }
  return true;
}

bool PackageHash::Finish(HashedPackage& out) {
  if (!ok_ || finished_) return false;
  const NTSTATUS status =
      ::BCryptFinishHash(hash_.get(), out.sha256.data(), static_cast<ULONG>(out.sha256.size()), 0);
  if (status < 0) return Fail(L"BCryptFinishHash", status);
  // A finished CNG hash takes no more data.
  finished_ = true;
  out.bytes = bytes_;
  return true;
}

bool PackageHash::Fail(const wchar_t* call, long status) {
  ok_ = false;
  status_ = status;
  failed_call_ = call;
  return false;
}

}  // namespace vexo::app
