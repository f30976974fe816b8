#include "tests/app/installer_driver.h"

#include <map>
#include <vector>

#include "runtime/win/scoped_handles.h"
#include "tests/sys/sys_test_support.h"
#include "tests/xcgui/screen.h"
#include "xcgui/xcgui.h"

namespace vexo::test {

namespace {

constexpr const wchar_t* kTitle = L"Vexo助手在线安装";
constexpr DWORD kStartTimeoutMs = 30000;
constexpr int kPageTop = 255;

// The element rectangles in the window's client area, read by loading the installer's own UI archive
// (its resource 500) into our UI library in this process, placed the way the installer places pages.
class LayoutProbe {
 public:
  LayoutProbe() {
    const std::wstring archive = ExtractArchive();
    if (archive.empty() || !XInitXCGUI(FALSE)) return;
    XC_LoadResourceZip(archive.c_str(), L"resource.res", L"730418");
    HXCGUI window = XC_LoadLayoutZip(archive.c_str(), L"main.xml", L"730418", nullptr, nullptr);
    for (const wchar_t* page : {L"a1.xml", L"a2.xml", L"a3.xml"}) {
      HXCGUI root = XC_LoadLayoutZip(archive.c_str(), page, L"730418", window, nullptr);
      XEle_SetPosition(reinterpret_cast<HELE>(root), 0, kPageTop, FALSE, adjustLayout_self, 0);
    }
    XWnd_AdjustLayout(reinterpret_cast<HWINDOW>(window));
    const std::map<Element, const wchar_t*> names = {
        {Element::kInstall, L"main_jsan"}, {Element::kBrowse, L"main_xzlj"}, {Element::kPathField, L"main_lj"},
        {Element::kRetry, L"main_retry"},  {Element::kLaunch, L"main_ljty"}, {Element::kProgressBar, L"main_jdt"},
        {Element::kClose, L"main_close"}};
    for (const auto& [element, name] : names) {
      RECT rect{};
      if (XWidget_GetRect(XC_GetObjectByName(name), &rect)) rects_[element] = rect;
    }
  }

  RECT Rect(Element element) const {
    auto found = rects_.find(element);
    return found == rects_.end() ? RECT{} : found->second;
  }

 private:
  static std::wstring ExtractArchive() {
    HMODULE module = ::LoadLibraryExW(InstallerPath().c_str(), nullptr,
                                      LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    if (module == nullptr) return std::wstring();
    std::string bytes;
    if (HRSRC found = ::FindResourceW(module, MAKEINTRESOURCEW(500), MAKEINTRESOURCEW(10))) {
      const void* data = ::LockResource(::LoadResource(module, found));
      if (data != nullptr) bytes.assign(static_cast<const char*>(data), ::SizeofResource(module, found));
    }
    ::FreeLibrary(module);
    wchar_t temp[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, temp);
    const std::wstring path = std::wstring(temp) + L"vexo-e2e-ui-" + std::to_wstring(::GetCurrentProcessId()) + L".zip";
    return !bytes.empty() && WriteWholeFile(path, bytes) ? path : std::wstring();
  }

  std::map<Element, RECT> rects_;
};

const LayoutProbe& Probe() {
  static const LayoutProbe probe;
  return probe;
}

std::wstring DefaultTempFolder() {
  wchar_t temp[MAX_PATH] = {};
  ::GetTempPathW(MAX_PATH, temp);
  return temp;
}

// The installer's visible main window owned by `process_id`, or null.
HWND FindInstallerWindow(DWORD process_id) {
  struct Search {
    DWORD process_id;
    HWND found;
  } search{process_id, nullptr};
  ::EnumWindows(
      [](HWND window, LPARAM data) WINAPI -> BOOL {
        auto* s = reinterpret_cast<Search*>(data);
        DWORD owner = 0;
        ::GetWindowThreadProcessId(window, &owner);
        wchar_t title[64] = {};
        ::GetWindowTextW(window, title, 64);
        if (owner != s->process_id || !::IsWindowVisible(window) || std::wstring(title) != kTitle) return TRUE;
        s->found = window;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

}  // namespace

std::string Utf8(const std::wstring& text) {
  const int size = ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
  std::string bytes(size > 0 ? size - 1 : 0, '\0');
  if (size > 1) ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, bytes.data(), size, nullptr, nullptr);
  return bytes;
}

std::wstring InstallerPath() {
  // Another build's installer may stand in (the benchmark compares builds).
  wchar_t other[MAX_PATH] = {};
  const DWORD length = ::GetEnvironmentVariableW(L"VEXO_INSTALLER", other, MAX_PATH);
  if (length > 0 && length < MAX_PATH) return other;
  return L"" VEXO_E2E_INSTALLER;
}

void SetPackageMode(const std::string& mode) {
  WriteWholeFile(std::wstring(L"" VEXO_E2E_SERVER_DIR) + L"\\package-mode", mode);
  // The listener reads the mode at each request and follows "down" within 0.1 s.
  ::Sleep(400);
}

std::string PackageRequests() {
  return ReadWholeFile(std::wstring(L"" VEXO_E2E_SERVER_DIR) + L"\\package-requests.log");
}

InstallerDriver::InstallerDriver(const std::wstring& temp_folder)
    : temp_folder_(temp_folder.empty() ? DefaultTempFolder() : temp_folder) {
  Probe();
  ::DeleteFileW((temp_folder_ + L"VexoInstall.log").c_str());
  // The child gets this process's environment with TEMP and TMP pointing at the chosen folder.
  std::vector<wchar_t> environment;
  const wchar_t* block = ::GetEnvironmentStringsW();
  for (const wchar_t* entry = block; *entry != L'\0'; entry += wcslen(entry) + 1) {
    const std::wstring text = entry;
    if (_wcsnicmp(entry, L"TEMP=", 5) == 0 || _wcsnicmp(entry, L"TMP=", 4) == 0) continue;
    environment.insert(environment.end(), text.begin(), text.end());
    environment.push_back(L'\0');
  }
  ::FreeEnvironmentStringsW(const_cast<wchar_t*>(block));
  for (const wchar_t* name : {L"TEMP=", L"TMP="}) {
    const std::wstring entry = name + temp_folder_.substr(0, temp_folder_.size() - 1);
    environment.insert(environment.end(), entry.begin(), entry.end());
    environment.push_back(L'\0');
  }
  environment.push_back(L'\0');

  std::wstring command = L"\"" + InstallerPath() + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION info{};
  if (!::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, CREATE_UNICODE_ENVIRONMENT,
                        environment.data(), nullptr, &startup, &info)) {
    return;
  }
  ::CloseHandle(info.hThread);
  process_ = info.hProcess;
  ui_thread_ = info.dwThreadId;
  const DWORD start = ::GetTickCount();
  while (::GetTickCount() - start < kStartTimeoutMs) {
    if ((window_ = FindInstallerWindow(info.dwProcessId)) != nullptr) break;
    if (::WaitForSingleObject(process_, 50) == WAIT_OBJECT_0) return;
  }
  // The window shows before the install folders are worked out; wait for those, and let the first paint
  // happen before any input arrives.
  while (window_ != nullptr && Log().find("start: ") == std::string::npos && ::GetTickCount() - start < kStartTimeoutMs) {
    ::Sleep(50);
  }
  ::Sleep(300);
}

InstallerDriver::~InstallerDriver() {
  if (process_ == nullptr) return;
  if (::WaitForSingleObject(process_, 0) != WAIT_OBJECT_0) {
    ::TerminateProcess(process_, 1);
    ::WaitForSingleObject(process_, 5000);
  }
  ::CloseHandle(process_);
}

RECT InstallerDriver::ScreenRect(Element element) const {
  RECT rect = Probe().Rect(element);
  POINT origin{0, 0};
  ::ClientToScreen(window_, &origin);
  ::OffsetRect(&rect, origin.x, origin.y);
  return rect;
}

void InstallerDriver::Click(Element element) {
  const RECT rect = ScreenRect(element);
  xcgui_test::MouseMove((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
  ::Sleep(100);
  xcgui_test::MouseClick();
}

std::string InstallerDriver::Log() const { return ReadWholeFile(temp_folder_ + L"VexoInstall.log"); }

std::string InstallerDriver::WaitForOutcomeCount(int count, DWORD timeout_ms) {
  const DWORD start = ::GetTickCount();
  for (;;) {
    const std::string log = Log();
    std::vector<std::string> outcomes;
    for (std::size_t at = log.find("outcome: "); at != std::string::npos; at = log.find("outcome: ", at + 1)) {
      const std::size_t end = log.find("\r\n", at);
      outcomes.push_back(log.substr(at + 9, end == std::string::npos ? std::string::npos : end - at - 9));
    }
    if (static_cast<int>(outcomes.size()) >= count) return outcomes[static_cast<std::size_t>(count) - 1];
    if (::GetTickCount() - start > timeout_ms) return std::string();
    ::Sleep(100);
  }
}

std::string InstallerDriver::WaitForOutcome(DWORD timeout_ms) { return WaitForOutcomeCount(1, timeout_ms); }

long InstallerDriver::WaitForExit(DWORD timeout_ms) {
  if (process_ == nullptr || ::WaitForSingleObject(process_, timeout_ms) != WAIT_OBJECT_0) return -1;
  DWORD code = 0;
  ::GetExitCodeProcess(process_, &code);
  return static_cast<long>(code);
}

}  // namespace vexo::test
