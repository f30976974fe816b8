#include "app/phases/package_hash.h"

#include <mutex>

#include "7zip-sha256/Sha256.h"

namespace vexo::app {

struct PackageHash::State {
  CSha256 sha256;
};

PackageHash::PackageHash() : state_(new State) {
  // Picks the fastest implementation the processor supports, once per process.
  static std::once_flag prepared;
  std::call_once(prepared, [] { Sha256Prepare(); });
  Sha256_Init(&state_->sha256);
}

PackageHash::~PackageHash() = default;

bool PackageHash::Add(const void* data, std::size_t size) {
  if (finished_) return false;
  Sha256_Update(&state_->sha256, static_cast<const Byte*>(data), size);
  bytes_ += size;
  return true;
}

bool PackageHash::Finish(HashedPackage& out) {
  if (finished_) return false;
  Sha256_Final(&state_->sha256, out.sha256.data());
  finished_ = true;
  out.bytes = bytes_;
  return true;
}

}  // namespace vexo::app
