// An open ZIP archive read with libzip, opened from a UTF-16 path.
#pragma once

#include <zip.h>

namespace vexo::app {

// Owns one libzip archive opened read-only with consistency checks; empty when the file is missing or
// is not a consistent ZIP archive.
class ZipReader {
 public:
  explicit ZipReader(const wchar_t* path);
  ~ZipReader();
  ZipReader(const ZipReader&) = delete;
  ZipReader& operator=(const ZipReader&) = delete;

  // The archive; null when it could not be opened. Owned by the reader.
  zip_t* get() const { return archive_; }
  explicit operator bool() const { return archive_ != nullptr; }

 private:
  zip_t* archive_ = nullptr;
};

}  // namespace vexo::app
