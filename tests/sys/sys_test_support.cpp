#include "tests/sys/sys_test_support.h"

#include <windows.h>

#include <atomic>

#include "runtime/win/scoped_handles.h"

namespace vexo::test {

namespace {

std::atomic<int> g_counter{0};

}  // namespace

ScratchFolder::ScratchFolder(const std::wstring& parent) {
  wchar_t temp[MAX_PATH + 1] = {};
  if (parent.empty() && ::GetTempPathW(MAX_PATH + 1, temp) == 0) return;
  const std::wstring base = parent.empty() ? std::wstring(temp) : parent;
  std::wstring candidate = base + L"vexo-sys-test-" + std::to_wstring(::GetCurrentProcessId()) + L"-" +
                           std::to_wstring(++g_counter) + L"\\";
  RemoveTree(candidate);
  if (::CreateDirectoryW(candidate.c_str(), nullptr)) path_ = candidate;
}

ScratchFolder::~ScratchFolder() {
  if (!path_.empty()) RemoveTree(path_);
}

bool RemoveTree(const std::wstring& folder) {
  std::wstring base = folder;
  if (!base.empty() && base.back() != L'\\') base += L'\\';
  WIN32_FIND_DATAW found{};
  HANDLE search = ::FindFirstFileW((base + L"*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      const std::wstring name = found.cFileName;
      if (name == L"." || name == L"..") continue;
      const std::wstring child = base + name;
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveTree(child);
      } else {
        ::SetFileAttributesW(child.c_str(), FILE_ATTRIBUTE_NORMAL);
        ::DeleteFileW(child.c_str());
      }
    } while (::FindNextFileW(search, &found));
    ::FindClose(search);
  }
  ::RemoveDirectoryW(base.c_str());
  return ::GetFileAttributesW(base.c_str()) == INVALID_FILE_ATTRIBUTES;
}

std::string ReadWholeFile(const std::wstring& path) {
  win::ScopedHandle file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                       OPEN_EXISTING, 0, nullptr));
  if (!file) return "";
  std::string content;
  char chunk[4096];
  DWORD read = 0;
  while (::ReadFile(file.get(), chunk, sizeof(chunk), &read, nullptr) && read > 0) content.append(chunk, read);
  return content;
}

bool WriteWholeFile(const std::wstring& path, const std::string& content) {
  win::ScopedHandle file(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  if (!file) return false;
  DWORD written = 0;
  return ::WriteFile(file.get(), content.data(), static_cast<DWORD>(content.size()), &written, nullptr) &&
         written == content.size();
}

bool IsFolder(const std::wstring& path) {
  const DWORD attributes = ::GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool IsFile(const std::wstring& path) {
  const DWORD attributes = ::GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

std::wstring ExecutableFolder() {
  wchar_t path[MAX_PATH] = {};
  ::GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder = path;
  return folder.substr(0, folder.rfind(L'\\') + 1);
}

std::string RunAndCapture(const std::wstring& command_line) {
  SECURITY_ATTRIBUTES inheritable{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
  win::ScopedHandle read_end;
  win::ScopedHandle write_end;
  if (!::CreatePipe(read_end.receive(), write_end.receive(), &inheritable, 0)) return "";
  ::SetHandleInformation(read_end.get(), HANDLE_FLAG_INHERIT, 0);
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdOutput = write_end.get();
  startup.hStdError = write_end.get();
  std::wstring writable = command_line;
  PROCESS_INFORMATION info{};
  if (!::CreateProcessW(nullptr, writable.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr, nullptr,
                        &startup, &info)) {
    return "";
  }
  win::ScopedHandle process(info.hProcess);
  win::ScopedHandle thread(info.hThread);
  write_end.reset();  // the child holds the only write end now, so reading ends when it exits
  std::string output;
  char chunk[4096];
  DWORD read = 0;
  while (::ReadFile(read_end.get(), chunk, sizeof(chunk), &read, nullptr) && read > 0) output.append(chunk, read);
  ::WaitForSingleObject(process.get(), INFINITE);
  return output;
}

int CountOpenHandles() {
  int open = 0;
  for (ULONG_PTR value = 4; value < 0x10000; value += 4) {
    DWORD flags = 0;
    if (::GetHandleInformation(reinterpret_cast<HANDLE>(value), &flags)) ++open;
  }
  return open;
}

}  // namespace vexo::test
