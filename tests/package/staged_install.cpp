#include "tests/package/staged_install.h"

#include <tlhelp32.h>

#include <cstdint>

#include "package/product.h"
#include "runtime/win/scoped_handles.h"
#include "sys/process_launch.h"
#include "sys/registry.h"
#include "sys/shortcut.h"
#include "sys/special_folder.h"

namespace vexo::test {

namespace {

// How long a started program may take to get ready or to end.
constexpr DWORD kFollowerTimeoutMs = 30000;

std::wstring Text(const CWString& text) { return text.GetText(); }

CWString Owned(const std::wstring& text) { return CWString(text.c_str()); }

std::vector<std::wstring> ReadList(const std::wstring& path) {
  const std::string bytes = ReadWholeFile(path);
  std::vector<std::wstring> lines;
  std::size_t start = 0;
  while (start < bytes.size()) {
    std::size_t end = bytes.find("\r\n", start);
    if (end == std::string::npos) end = bytes.size();
    const std::string line = bytes.substr(start, end - start);
    std::wstring text(line.size(), L'\0');
    text.resize(::MultiByteToWideChar(CP_UTF8, 0, line.data(), static_cast<int>(line.size()), text.data(),
                                      static_cast<int>(text.size())));
    if (!text.empty()) lines.push_back(text);
    start = end + 2;
  }
  return lines;
}

std::uint64_t Ticks(const FILETIME& time) {
  return (static_cast<std::uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

// Waits for every process that `parent_id` started at or after `since`; false if one is still running at
// the deadline. Process ids are reused, and a long-lived process keeps the id of a parent that has ended
// (wine's services and desktop name the long-gone wineboot), so only processes created since the parent
// started can be its children.
bool WaitForChildrenOf(DWORD parent_id, const FILETIME& since) {
  win::ScopedHandle snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  if (!snapshot) return false;
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof(entry);
  bool all_ended = true;
  for (BOOL more = ::Process32FirstW(snapshot.get(), &entry); more; more = ::Process32NextW(snapshot.get(), &entry)) {
    if (entry.th32ParentProcessID != parent_id) continue;
    win::ScopedHandle child(
        ::OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, entry.th32ProcessID));
    if (!child) continue;
    FILETIME created{}, exited{}, kernel{}, user{};
    if (::GetProcessTimes(child.get(), &created, &exited, &kernel, &user) && Ticks(created) < Ticks(since)) {
      continue;
    }
    if (::WaitForSingleObject(child.get(), kFollowerTimeoutMs) != WAIT_OBJECT_0) all_ended = false;
  }
  return all_ended;
}

}  // namespace

StagedInstall::StagedInstall(const std::wstring& folder_name) {
  if (scratch_.path().empty()) return;
  folder_ = scratch_.path() + folder_name + L"\\";
  const std::wstring command = Text(sys::GetSpecialFolder(sys::kSystem)) + L"7z.exe x \"" +
                               std::wstring(L"" VEXO_SAMPLE_PACKAGE) + L"\" -o\"" + folder_ + L"\" -y -aoa -bso0 -bsp0";
  if (!sys::RunProgram(command.c_str(), true, SW_HIDE)) return;
  listed_ = ReadList(folder_ + product::kUninstallListName);
  ok_ = !listed_.empty() && Register(folder_, folder_);
}

StagedInstall::~StagedInstall() {
  for (const std::wstring& link : ShortcutPaths()) ::DeleteFileW(link.c_str());
  for (const wchar_t* key : product::kUninstallKeys) ::RegDeleteKeyW(HKEY_LOCAL_MACHINE, key);
}

std::vector<std::wstring> StagedInstall::ShortcutPaths() {
  std::vector<std::wstring> paths;
  for (sys::SpecialFolder folder : product::kShortcutFolders) {
    paths.push_back(Text(sys::GetSpecialFolder(folder)) + product::kShortcutFileName);
  }
  return paths;
}

bool StagedInstall::Register(const std::wstring& client_folder, const std::wstring& install_folder) {
  bool written = true;
  for (const std::wstring& link : ShortcutPaths()) {
    written &= sys::CreateShortcut(Owned(link), Owned(client_folder + product::kClientExeName), CWString(),
                                   CWString(), Owned(client_folder)) == 1;
  }
  struct TextValue {
    const wchar_t* name;
    std::wstring data;
  };
  const TextValue texts[] = {
      {L"DisplayName", product::kDisplayName},
      {L"Publisher", L"Vexo网络科技有限公司"},
      {L"DisplayVersion", product::kVersion},
      {L"DisplayIcon", install_folder + product::kClientExeName},
      {L"UninstallString", install_folder + product::kUninstallerExeName},
      {product::kInstallLocationValue, install_folder},
  };
  for (const wchar_t* key : product::kUninstallKeys) {
    for (const TextValue& value : texts) {
      written &= sys::WriteRegistryText(Owned(std::wstring(key) + L"\\" + value.name), Owned(value.data)) == 1;
    }
    written &= sys::WriteRegistryNumber(Owned(std::wstring(key) + L"\\EstimatedSize"), 20480) == 1;
  }
  return written;
}

bool StagedInstall::KeyExists(const wchar_t* key_path) {
  win::ScopedRegKey key;
  return ::RegOpenKeyExW(HKEY_LOCAL_MACHINE, key_path, 0, KEY_READ, key.receive()) == ERROR_SUCCESS;
}

win::ScopedHandle StagedInstall::StartClient() const {
  const std::wstring program = folder_ + product::kClientExeName;
  std::wstring command_line = L"\"" + program + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION info{};
  if (!::CreateProcessW(program.c_str(), command_line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &info)) {
    return win::ScopedHandle();
  }
  win::ScopedHandle process(info.hProcess);
  win::ScopedHandle thread(info.hThread);
  ::WaitForInputIdle(process.get(), kFollowerTimeoutMs);
  return process;
}

UninstallerRun StagedInstall::RunUninstaller(const std::wstring& arguments, const std::vector<int>& answers) const {
  UninstallerRun run;
  FILETIME started{};
  ::GetSystemTimeAsFileTime(&started);
  run.outcome =
      testing_support::RunChildAnsweringBoxes(folder_ + product::kUninstallerExeName, arguments, answers);
  run.followers_ended = run.outcome.started && WaitForChildrenOf(run.outcome.process_id, started);
  // The copy that removed the uninstaller is left for the next restart; a test prefix never restarts.
  const std::wstring copy = Text(sys::GetSpecialFolder(sys::kTemporary)) + L"VexoUninstall-" +
                            std::to_wstring(run.outcome.process_id) + L".exe";
  if (run.followers_ended) ::DeleteFileW(copy.c_str());
  return run;
}

}  // namespace vexo::test
