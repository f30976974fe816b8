#include "tests/app/zip_writer.h"

#include <zip.h>

#include <cstdint>

namespace vexo::test {

bool WriteZip(const std::wstring& path, const std::vector<std::pair<std::string, std::string>>& entries) {
  zip_error_t error;
  zip_error_init(&error);
  zip_source_t* file = zip_source_win32w_create(path.c_str(), 0, -1, &error);
  zip_t* archive = file != nullptr ? zip_open_from_source(file, ZIP_CREATE | ZIP_TRUNCATE, &error) : nullptr;
  zip_error_fini(&error);
  if (archive == nullptr) {
    if (file != nullptr) zip_source_free(file);
    return false;
  }
  bool ok = true;
  for (const auto& [name, bytes] : entries) {
    if (!name.empty() && name.back() == '/') {
      ok = zip_dir_add(archive, name.c_str(), ZIP_FL_ENC_UTF_8) >= 0 && ok;
      continue;
    }
    zip_source_t* data = zip_source_buffer(archive, bytes.data(), bytes.size(), 0);
    const zip_int64_t index = data != nullptr ? zip_file_add(archive, name.c_str(), data, ZIP_FL_ENC_UTF_8) : -1;
    if (index < 0) {
      if (data != nullptr) zip_source_free(data);
      ok = false;
      continue;
    }
    ok = zip_set_file_compression(archive, static_cast<zip_uint64_t>(index), ZIP_CM_STORE, 0) == 0 && ok;
  }
  // The buffers are read when the archive is written, here.
  if (zip_close(archive) != 0) {
    zip_discard(archive);
    return false;
  }
  return ok;
}

bool AddStoredEntry(const std::wstring& path, const std::string& name, std::size_t size) {
  zip_error_t error;
  zip_error_init(&error);
  zip_source_t* file = zip_source_win32w_create(path.c_str(), 0, -1, &error);
  zip_t* archive = file != nullptr ? zip_open_from_source(file, 0, &error) : nullptr;
  zip_error_fini(&error);
  if (archive == nullptr) {
    if (file != nullptr) zip_source_free(file);
    return false;
  }
  std::string bytes(size, '\0');
  std::uint32_t state = 2463534242u;
  for (char& byte : bytes) {
    state ^= state << 13;
    state ^= state >> 17;
    state ^= state << 5;
    byte = static_cast<char>(state);
  }
  zip_source_t* data = zip_source_buffer(archive, bytes.data(), bytes.size(), 0);
  const zip_int64_t index = data != nullptr ? zip_file_add(archive, name.c_str(), data, ZIP_FL_ENC_UTF_8) : -1;
  if (index < 0) {
    if (data != nullptr) zip_source_free(data);
    zip_discard(archive);
    return false;
  }
  zip_set_file_compression(archive, static_cast<zip_uint64_t>(index), ZIP_CM_STORE, 0);
  if (zip_close(archive) != 0) {
    zip_discard(archive);
    return false;
  }
  return true;
}

}  // namespace vexo::test
