#include "app/phases/verify.h"

#include <cstring>

#include "app/install_log.h"
#include "app/phases/zip_reader.h"

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

InstallOutcome VerifyPackage(const CWString& package_path) {
  InstallOutcome outcome;
  ZipReader reader(package_path.GetText());
  if (!reader) {
    LogLine(CWString(L"verify: not a readable ZIP archive"));
    outcome.failure = InstallFailure::kDamagedPackage;
    return outcome;
  }
  const zip_int64_t count = zip_get_num_entries(reader.get(), 0);
  for (zip_int64_t i = 0; i < count; ++i) {
    const char* name = zip_get_name(reader.get(), static_cast<zip_uint64_t>(i), ZIP_FL_ENC_GUESS);
    if (!IsSafeEntryName(name)) {
      CWString shown;
      shown.SetFromUtf8(name != nullptr ? name : "");
      LogFormat(L"verify: unsafe entry \"%s\"", shown.GetText());
      outcome.failure = InstallFailure::kUnsafePackage;
      return outcome;
    }
  }
  LogFormat(L"verify: %d entries, all inside the install folder", static_cast<int>(count));
  return outcome;
}

}  // namespace vexo::app
