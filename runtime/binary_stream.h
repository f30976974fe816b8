// The binary stream that objects load from and save to, with its sticky error state.
#pragma once

#include <cstddef>
#include <cstdint>
#include <type_traits>
#include <utility>
#include <vector>

namespace vexo {

// Values travel in their native little-endian form and width. The error state is 0 while healthy,
// kShortRead after a read that got fewer bytes than asked, kFailedWrite after a write that could not be
// completed; once it is non-zero every read and write does nothing.
class BinaryStream {
 public:
  static constexpr std::int32_t kShortRead = -3;
  static constexpr std::int32_t kFailedWrite = -4;

  virtual ~BinaryStream() = default;

  std::int32_t GetError() const { return error_; }
  // Marks the stream failed with `error` (kShortRead or kFailedWrite) unless it has failed already; for
  // readers that find malformed data, such as a negative length.
  void SetError(std::int32_t error);

  // Reads exactly `size` bytes into `data`. False (and the error kShortRead) when fewer were available;
  // false without reading when the stream is already failed.
  bool Read(void* data, std::size_t size);
  // Writes `size` bytes. False (and the error kFailedWrite) when they could not all be written; false
  // without writing when the stream is already failed.
  bool Write(const void* data, std::size_t size);

  // Reads one value of trivially copyable type T, as Read.
  template <class T>
  bool ReadValue(T& value) {
    static_assert(std::is_trivially_copyable_v<T>);
    return Read(&value, sizeof(T));
  }
  // Writes one value of trivially copyable type T, as Write.
  template <class T>
  bool WriteValue(const T& value) {
    static_assert(std::is_trivially_copyable_v<T>);
    return Write(&value, sizeof(T));
  }

 protected:
  // Copies up to `size` bytes from the source; returns how many were copied.
  virtual std::size_t ReadSome(void* data, std::size_t size) = 0;
  // Copies up to `size` bytes to the sink; returns how many were taken.
  virtual std::size_t WriteSome(const void* data, std::size_t size) = 0;

 private:
  std::int32_t error_ = 0;
};

// A stream over bytes in memory: reads consume from the front, writes append up to a capacity.
class MemoryStream : public BinaryStream {
 public:
  // An empty stream that accepts at most `capacity` bytes of writes.
  explicit MemoryStream(std::size_t capacity = SIZE_MAX) : capacity_(capacity) {}
  // A stream to read `bytes` from (and to append to, without limit).
  explicit MemoryStream(std::vector<std::uint8_t> bytes) : bytes_(std::move(bytes)), capacity_(SIZE_MAX) {}

  // Everything written so far (including what has been read back).
  const std::vector<std::uint8_t>& GetBytes() const { return bytes_; }

 protected:
  std::size_t ReadSome(void* data, std::size_t size) override;
  std::size_t WriteSome(const void* data, std::size_t size) override;

 private:
  std::vector<std::uint8_t> bytes_;
  std::size_t read_position_ = 0;
  std::size_t capacity_;
};

}  // namespace vexo
