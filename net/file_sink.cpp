#include "net/file_sink.h"

#include <algorithm>
#include <cstring>

namespace vexo::net {

namespace {

// The most one WriteFile call is given.
constexpr std::size_t kMaxWrite = 64u * 1024 * 1024;

}  // namespace

FileSink::FileSink(const wchar_t* path) {
  if (path == nullptr || path[0] == L'\0') return;
  buffer_.reset(::VirtualAlloc(nullptr, kBufferSize, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
  if (!buffer_) return;
  file_.reset(::CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  ok_ = file_.is_valid();
}

FileSink::~FileSink() = default;

bool FileSink::Consume(const char* data, std::size_t size) {
  if (!ok_ || !file_) return ok_ = false;
  if (buffered_ + size > kBufferSize && !Drain()) return false;
  if (size >= kBufferSize) {
    if (!WriteThrough(data, size)) return false;
  } else if (size > 0) {
    std::memcpy(static_cast<char*>(buffer_.get()) + buffered_, data, size);
    buffered_ += size;
  }
  bytes_ += static_cast<std::int64_t>(size);
  return true;
}

bool FileSink::Finish() {
  if (!file_) return ok_;
  if (ok_) Drain();
  // A failed close may mean written bytes never reached the disk.
  if (!::CloseHandle(file_.release())) ok_ = false;
  buffer_.reset();
  return ok_;
}

bool FileSink::WriteThrough(const char* data, std::size_t size) {
  while (size > 0) {
    const DWORD piece = static_cast<DWORD>(std::min(size, kMaxWrite));
    DWORD written = 0;
    if (!::WriteFile(file_.get(), data, piece, &written, nullptr) || written != piece) return ok_ = false;
    data += piece;
    size -= piece;
  }
  return true;
}

bool FileSink::Drain() {
  const std::size_t size = buffered_;
  buffered_ = 0;
  return WriteThrough(static_cast<const char*>(buffer_.get()), size);
}

}  // namespace vexo::net
