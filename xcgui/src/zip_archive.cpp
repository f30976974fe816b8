#include "xcgui/src/zip_archive.h"

#include <windows.h>
#include <zip.h>

#include <memory>

namespace xcgui {
namespace {

std::string ToUtf8(const std::wstring& text) {
  if (text.empty()) return {};
  int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                 nullptr, nullptr);
  std::string out(size, '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), size, nullptr,
                      nullptr);
  return out;
}

struct ArchiveCloser {
  void operator()(zip_t* archive) const { zip_discard(archive); }
};
struct MemberCloser {
  void operator()(zip_file_t* file) const { zip_fclose(file); }
};

}  // namespace

std::optional<std::string> ReadZipMember(const std::wstring& archive, const std::wstring& member,
                                         const std::wstring& password, std::wstring* error) {
  auto fail = [&](const std::wstring& what) -> std::optional<std::string> {
    if (error) *error = what;
    return std::nullopt;
  };
  if (archive.empty() || member.empty()) return fail(L"no archive or member name");

  zip_error_t zip_error;
  zip_error_init(&zip_error);
  zip_source_t* source = zip_source_win32w_create(archive.c_str(), 0, -1, &zip_error);
  zip_error_fini(&zip_error);
  if (!source) return fail(L"cannot open archive '" + archive + L"'");
  zip_error_init(&zip_error);
  std::unique_ptr<zip_t, ArchiveCloser> zip(zip_open_from_source(source, ZIP_RDONLY, &zip_error));
  zip_error_fini(&zip_error);
  if (!zip) {
    zip_source_free(source);
    return fail(L"'" + archive + L"' is not a readable ZIP archive");
  }

  std::string name = ToUtf8(member);
  zip_int64_t index = zip_name_locate(zip.get(), name.c_str(), ZIP_FL_ENC_GUESS);
  if (index < 0) return fail(L"no member '" + member + L"' in the archive");
  zip_stat_t stat;
  zip_stat_init(&stat);
  if (zip_stat_index(zip.get(), index, 0, &stat) != 0 || !(stat.valid & ZIP_STAT_SIZE)) {
    return fail(L"cannot read member '" + member + L"'");
  }
  if (stat.size > kMaxMemberSize) return fail(L"member '" + member + L"' is too large");

  std::string secret = ToUtf8(password);
  std::unique_ptr<zip_file_t, MemberCloser> file(
      zip_fopen_index_encrypted(zip.get(), index, 0, secret.empty() ? nullptr : secret.c_str()));
  SecureZeroMemory(secret.data(), secret.size());
  if (!file) {
    int code = zip_error_code_zip(zip_get_error(zip.get()));
    if (code == ZIP_ER_WRONGPASSWD || code == ZIP_ER_NOPASSWD) return fail(L"wrong password");
    return fail(L"cannot open member '" + member + L"'");
  }

  std::string data(static_cast<size_t>(stat.size), '\0');
  zip_int64_t read = data.empty() ? 0 : zip_fread(file.get(), data.data(), data.size());
  // One more read must report the end: that is where the authentication code and the CRC are checked.
  char probe = 0;
  if (read != static_cast<zip_int64_t>(data.size()) || zip_fread(file.get(), &probe, 1) != 0) {
    return fail(L"member '" + member + L"' is damaged or the password is wrong");
  }
  if (zip_fclose(file.release()) != 0) return fail(L"member '" + member + L"' failed its checks");
  return data;
}

}  // namespace xcgui
