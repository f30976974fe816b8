#include "app/phases/zip_reader.h"

namespace vexo::app {

ZipReader::ZipReader(const wchar_t* path) {
  zip_error_t error;
  zip_error_init(&error);
  zip_source_t* source = zip_source_win32w_create(path, 0, -1, &error);
  if (source != nullptr) {
    archive_ = zip_open_from_source(source, ZIP_CHECKCONS | ZIP_RDONLY, &error);
    // The archive owns the source only when it opened.
    if (archive_ == nullptr) zip_source_free(source);
  }
  zip_error_fini(&error);
}

ZipReader::~ZipReader() {
  if (archive_ != nullptr) zip_discard(archive_);
}

}  // namespace vexo::app
