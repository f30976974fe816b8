// Package hash: the SHA-256 of the package, fed piece by piece as the download arrives or as the file is
// read (7-Zip's SHA-256: the processor's SHA instructions where it has them).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>

namespace vexo::app {

// A finished hash: the digest and the number of bytes it covers.
struct HashedPackage {
  std::array<std::uint8_t, 32> sha256{};
  std::uint64_t bytes = 0;
};

class PackageHash {
 public:
  PackageHash();
  ~PackageHash();
  PackageHash(const PackageHash&) = delete;
  PackageHash& operator=(const PackageHash&) = delete;

  // Adds the next `size` bytes; false, adding nothing, once the hash is finished.
  bool Add(const void* data, std::size_t size);
  // Ends the hash: the digest of every byte added, and their number. False when it was finished already.
  bool Finish(HashedPackage& out);

  // The bytes added so far.
  std::uint64_t bytes() const { return bytes_; }

 private:
  struct State;
  std::unique_ptr<State> state_;
  std::uint64_t bytes_ = 0;
  bool finished_ = false;
};

}  // namespace vexo::app
