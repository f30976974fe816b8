// Small ZIP archives written by the tests with libzip: any entry names, data stored uncompressed.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace vexo::test {

// Writes a ZIP archive at `path` with the entries (UTF-8 name, bytes) in order; a name ending in "/" is
// a folder entry. Names are stored as given, unsafe ones included. true when the archive was written.
bool WriteZip(const std::wstring& path, const std::vector<std::pair<std::string, std::string>>& entries);

}  // namespace vexo::test
