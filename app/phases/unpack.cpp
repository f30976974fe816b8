#include "app/phases/unpack.h"

#include <cstdint>
#include <memory>

#include "app/install_log.h"
#include "app/phases/zip_reader.h"
#include "runtime/win/scoped_handles.h"
#include "runtime/win/windows_api.h"
#include "sys/folder_tree.h"
#include "sys/process_launch.h"

namespace vexo::app {

namespace {

constexpr std::size_t kCopyBlock = 1 << 20;

// Owns one entry opened for reading.
struct ZipFileCloser {
  void operator()(zip_file_t* file) const { zip_fclose(file); }
};
using ZipFile = std::unique_ptr<zip_file_t, ZipFileCloser>;

bool IsExistingFile(const CWString& path) {
  const DWORD attributes = ::GetFileAttributesW(path.GetText());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

// The entry's path below `folder`, with Windows separators.
CWString TargetPath(const CWString& folder, const char* name) {
  CWString relative;
  relative.SetFromUtf8(name);
  relative.Replace(L"/", L"\\", 0, -1);
  return CWString::Concat(folder, relative);
}

// The folder part of `path` (up to its last backslash).
CWString ParentOf(const CWString& path) {
  const wchar_t* text = path.GetText();
  int last = -1;
  for (int i = 0; text[i] != L'\0'; ++i) {
    if (text[i] == L'\\') last = i;
  }
  return path.Mid(0, last + 1);
}

bool CopyEntry(zip_t* archive, zip_uint64_t index, const CWString& target, char* buffer) {
  ZipFile entry(zip_fopen_index(archive, index, 0));
  if (!entry) return false;
  win::ScopedHandle file(::CreateFileW(target.GetText(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                       FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return false;
  for (;;) {
    // libzip checks the entry's CRC when the last byte has been read and reports a mismatch as an error.
    const zip_int64_t read = zip_fread(entry.get(), buffer, kCopyBlock);
    if (read < 0) return false;
    if (read == 0) return true;
    DWORD written = 0;
    if (!::WriteFile(file.get(), buffer, static_cast<DWORD>(read), &written, nullptr) ||
        written != static_cast<DWORD>(read)) {
      return false;
    }
  }
}

}  // namespace

CWString SevenZipCommandLine(const CWString& seven_zip, const CWString& package_path,
                             const CWString& install_folder) {
  CWString command;
  command.Format(L"\"%s\" x \"%s\" -o\"%s\" -y -aoa", seven_zip.GetText(), package_path.GetText(),
                 install_folder.GetText());
  return command;
}

bool ExtractZip(const CWString& package_path, const CWString& install_folder) {
  ZipReader reader(package_path.GetText());
  if (!reader) return false;
  std::unique_ptr<char[]> buffer(new char[kCopyBlock]);
  const zip_int64_t count = zip_get_num_entries(reader.get(), 0);
  for (zip_int64_t i = 0; i < count; ++i) {
    const auto index = static_cast<zip_uint64_t>(i);
    const char* name = zip_get_name(reader.get(), index, ZIP_FL_ENC_GUESS);
    if (name == nullptr) return false;
    const CWString target = TargetPath(install_folder, name);
    const bool is_folder = target.GetLength() > 0 && target.GetText()[target.GetLength() - 1] == L'\\';
    if (!vexo::sys::CreateFolderTree(ParentOf(target).GetText())) return false;
    if (!is_folder && !CopyEntry(reader.get(), index, target, buffer.get())) return false;
  }
  return true;
}

InstallOutcome UnpackPackage(const CWString& seven_zip, const CWString& package_path,
                             const CWString& install_folder) {
  InstallOutcome outcome;
  bool unpacked = false;
  if (IsExistingFile(seven_zip)) {
    const CWString command = SevenZipCommandLine(seven_zip, package_path, install_folder);
    std::uint32_t exit_code = 0;
    const bool ran = vexo::sys::RunProgramToExit(command.GetText(), SW_HIDE, &exit_code) != 0;
    unpacked = ran && exit_code == 0;
    LogFormat(L"unpack: %s -> %s, exit code %d", command.GetText(), ran ? L"ran" : L"could not start",
              static_cast<int>(exit_code));
  } else {
    unpacked = ExtractZip(package_path, install_folder);
    LogFormat(L"unpack: built-in extraction of %s into %s -> %s", package_path.GetText(),
              install_folder.GetText(), unpacked ? L"ok" : L"failed");
  }
  if (!unpacked) outcome.failure = InstallFailure::kUnpackFailed;
  return outcome;
}

}  // namespace vexo::app
