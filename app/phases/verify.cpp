#include "app/phases/verify.h"

#include <cstring>

#include "app/install_log.h"
#include "app/phases/zip_reader.h"
#include "runtime/win/windows_api.h"

namespace vexo::app {

bool IsSafeEntryName(const char* name) {
  if (name == nullptr || *name == '\0') return false;
  if (*name == '/' || *name == '\\') return false;
  if (std::strchr(name, ':') != nullptr) return false;
  const char* component = name;
  for (const char* p = name;; ++p) {
    if (*p == '/' || *p == '\\' || *p == '\0') {
      if (p - component == 2 && component[0] == '.' && component[1] == '.') return false;
      if (*p == '\0') return true;
      component = p + 1;
    }
  }
}

InstallOutcome VerifyPackage(const CWString& package_path, std::int64_t* unpacked_bytes) {
  InstallOutcome outcome;
  ZipReader reader(package_path.GetText());
  if (!reader) {
    LogLine(CWString(L"verify: not a readable ZIP archive"));
    outcome.failure = InstallFailure::kDamagedPackage;
    return outcome;
  }
  const zip_int64_t count = zip_get_num_entries(reader.get(), 0);
  std::int64_t total = 0;
  for (zip_int64_t i = 0; i < count; ++i) {
    zip_stat_t stat;
    if (zip_stat_index(reader.get(), static_cast<zip_uint64_t>(i), 0, &stat) == 0 && (stat.valid & ZIP_STAT_SIZE)) {
      total += static_cast<std::int64_t>(stat.size);
    }
    const char* name = zip_get_name(reader.get(), static_cast<zip_uint64_t>(i), ZIP_FL_ENC_GUESS);
    if (!IsSafeEntryName(name)) {
      CWString shown;
      shown.SetFromUtf8(name != nullptr ? name : "");
      LogFormat(L"verify: unsafe entry \"%s\"", shown.GetText());
      outcome.failure = InstallFailure::kUnsafePackage;
      return outcome;
    }
  }
  LogFormat(L"verify: %d entries of %I64d bytes unpacked, all inside the install folder", static_cast<int>(count),
            total);
  if (unpacked_bytes != nullptr) *unpacked_bytes = total;
  return outcome;
}

InstallOutcome CheckRoom(const CWString& folder, std::int64_t needed) {
  InstallOutcome outcome;
  // The folder itself may not exist yet: ask for the nearest folder above it that does.
  CWString probe = folder;
  ULARGE_INTEGER free_bytes{};
  while (!::GetDiskFreeSpaceExW(probe.GetText(), &free_bytes, nullptr, nullptr)) {
    const wchar_t* text = probe.GetText();
    int cut = -1;
    for (int i = 0; i + 1 < probe.GetLength(); ++i) {
      if (text[i] == L'\\') cut = i;
    }
    if (cut < 0) return outcome;
    probe = probe.Mid(0, cut + 1);
  }
  const auto available = static_cast<std::int64_t>(free_bytes.QuadPart);
  LogFormat(L"space: %I64d bytes needed, %I64d free for %s", needed, available, folder.GetText());
  if (needed > available) {
    outcome.failure = InstallFailure::kDiskSpace;
    outcome.needed_bytes = needed;
    outcome.free_bytes = available;
  }
  return outcome;
}

}  // namespace vexo::app
