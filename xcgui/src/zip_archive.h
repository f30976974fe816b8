// Reading one member of a ZIP archive whose members are WinZip-AES encrypted (libzip with Windows CNG).
#pragma once

#include <optional>
#include <string>

namespace xcgui {

// Members larger than this are refused rather than read into memory.
constexpr size_t kMaxMemberSize = 64 * 1024 * 1024;

// The bytes of `member` in the archive file `archive`, decrypted with `password` (which may be empty for
// an unencrypted member). nullopt when the archive cannot be opened, the member is missing or too large,
// the password is wrong or the data fails its checks; *error then says which.
std::optional<std::string> ReadZipMember(const std::wstring& archive, const std::wstring& member,
                                         const std::wstring& password, std::wstring* error);

}  // namespace xcgui
