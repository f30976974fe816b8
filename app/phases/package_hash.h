// Package hash: the SHA-256 of the package through CNG, fed piece by piece (as the download arrives or
// as the file is read).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "runtime/win/scoped_bcrypt.h"

namespace vexo::app {

// A finished hash: the digest and the number of bytes it covers.
struct HashedPackage {
  std::array<std::uint8_t, 32> sha256{};
  std::uint64_t bytes = 0;
};

class PackageHash {
 public:
  // Opens a SHA-256 hash; a CNG failure leaves it failed (ok() false), which it then stays.
  PackageHash();
  PackageHash(const PackageHash&) = delete;
  PackageHash& operator=(const PackageHash&) = delete;

  // Adds the next `size` bytes; false when the hash has failed or is finished, or CNG refuses them
  // (the hash has then failed).
  bool Add(const void* data, std::size_t size);
  // Ends the hash: the digest of every byte added, and their number. False when the hash has failed or
  // was finished already.
  bool Finish(HashedPackage& out);

  // Whether no CNG call has failed.
  bool ok() const { return ok_; }
  // The bytes added so far.
  std::uint64_t bytes() const { return bytes_; }
  // The CNG status of the call that failed the hash (0 while it has not failed), and that call's name.
  long status() const { return status_; }
  const wchar_t* failed_call() const { return failed_call_; }

 private:
  bool Fail(const wchar_t* call, long status);

  win::ScopedAlgorithmProvider provider_;
  win::ScopedHashObject hash_;
  std::uint64_t bytes_ = 0;
  bool ok_ = false;
  bool finished_ = false;
  long status_ = 0;
  const wchar_t* failed_call_ = L"";
};

}  // namespace vexo::app
