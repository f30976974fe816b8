#include "runtime/binary_stream.h"

#include <algorithm>
#include <cstring>

namespace vexo {

void BinaryStream::SetError(std::int32_t error) {
  if (error_ == 0) error_ = error;
}

bool BinaryStream::Read(void* data, std::size_t size) {
  if (error_ != 0) return false;
  if (ReadSome(data, size) < size) {
    error_ = kShortRead;
    return false;
  }
  return true;
}

bool BinaryStream::Write(const void* data, std::size_t size) {
  if (error_ != 0) return false;
  if (WriteSome(data, size) < size) {
    error_ = kFailedWrite;
    return false;
  }
  return true;
}

std::size_t MemoryStream::ReadSome(void* data, std::size_t size) {
  std::size_t count = std::min(size, bytes_.size() - read_position_);
  if (count > 0) std::memcpy(data, bytes_.data() + read_position_, count);
  read_position_ += count;
  return count;
}

std::size_t MemoryStream::WriteSome(const void* data, std::size_t size) {
  std::size_t count = std::min(size, capacity_ - std::min(capacity_, bytes_.size()));
  const auto* bytes = static_cast<const std::uint8_t*>(data);
  bytes_.insert(bytes_.end(), bytes, bytes + count);
  return count;
}

}  // namespace vexo
