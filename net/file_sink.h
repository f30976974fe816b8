// FileSink: a body sink that writes a download to a file in large blocks.
#pragma once

#include <cstddef>
#include <cstdint>

#include "net/body_sink.h"
#include "runtime/win/scoped_handles.h"
#include "runtime/win/scoped_memory.h"

namespace vexo::net {

// Creates (or truncates) the file at construction and writes what it consumes through a buffer of its
// own of kBufferSize bytes, so the disk sees large blocks and memory stays flat in the body's size. The
// file is opened without sharing: nobody reads it while it is written. One thread at a time.
class FileSink : public BodySink {
 public:
  static constexpr std::size_t kBufferSize = 1024 * 1024;

  // Opens `path` (UTF-16) for writing, created or truncated. A null or empty path, a file that cannot be
  // created or a buffer that cannot be had leave the sink failed (ok() false) from the start.
  explicit FileSink(const wchar_t* path);
  // Closes the file. Without Finish, buffered bytes are dropped: the file may be short, and must not be
  // taken for a whole download.
  ~FileSink() override;
  FileSink(const FileSink&) = delete;
  FileSink& operator=(const FileSink&) = delete;

  // Buffers the bytes, writing the buffer to the file each time it would overflow (a block at least as
  // large as the buffer goes to the file directly). False, and the sink is failed from then on, when it
  // was failed or finished already or a write fails; refused bytes are not counted.
  bool Consume(const char* data, std::size_t size) override;
  // Writes what is buffered and closes the file. True only when every consumed byte reached the file, so
  // that every reader sees them (false for a sink that never opened its file); later calls return ok().
  // The system writes the file to the disk in its own time: a download is read back at once by the same
  // machine, and one cut short by a crash is downloaded again, so waiting for the disk buys nothing.
  bool Finish();

  // Whether the file was opened and every write so far succeeded.
  bool ok() const { return ok_; }
  // The bytes consumed so far (buffered ones included); after a successful Finish, the file's size.
  std::int64_t bytes() const { return bytes_; }

 private:
  // Writes `size` bytes at `data` to the file; false (the sink failed) when not all of them got there.
  bool WriteThrough(const char* data, std::size_t size);
  // Writes the buffered bytes and empties the buffer.
  bool Drain();

  vexo::win::ScopedHandle file_;
  vexo::win::ScopedVirtualMemory buffer_;
  std::size_t buffered_ = 0;
  std::int64_t bytes_ = 0;
  bool ok_ = false;
};

}  // namespace vexo::net
