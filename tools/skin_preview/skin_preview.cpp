// skin_preview <Install.exe> <start|progress|failed|done>: shows the installer's window on one of its pages,
// built from the UI archive and the pictures embedded in the Install.exe given, the way the installer builds
// it, so that the skin can be looked at and captured (tools/skin-shots.sh). Runs until the window is closed;
// exit status 0, or 1 with a message when the skin cannot be loaded.
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>

#include "resources/resource_ids.h"
#include "runtime/win/scoped_handles.h"
#include "xcgui/xcgui.h"

namespace {

const wchar_t kPassword[] = L"730418";

enum class Page { kStart, kProgress, kFailed, kDone };

// The bytes of raw-data resource `id` of `module`; empty when it is missing.
std::string RawData(HMODULE module, int id) {
  HRSRC found = ::FindResourceW(module, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(10) /* RT_RCDATA */);
  if (!found) return {};
  const void* data = ::LockResource(::LoadResource(module, found));
  return data ? std::string(static_cast<const char*>(data), ::SizeofResource(module, found)) : std::string();
}

// A file in the temporary folder holding the UI archive, deleted when the holder ends.
class StagedArchive {
 public:
  // Writes `bytes` to a new temporary file; path() is empty when that failed.
  explicit StagedArchive(const std::string& bytes) {
    wchar_t folder[MAX_PATH];
    wchar_t file[MAX_PATH];
    if (!::GetTempPathW(MAX_PATH, folder) || !::GetTempFileNameW(folder, L"vsk", 0, file)) return;
    path_ = file;
    vexo::win::ScopedHandle out(
        ::CreateFileW(file, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_TEMPORARY, nullptr));
    DWORD written = 0;
    if (!out || !::WriteFile(out.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) ||
        written != bytes.size()) {
      out.reset();
      ::DeleteFileW(file);
      path_.clear();
    }
  }
  ~StagedArchive() {
    if (!path_.empty()) ::DeleteFileW(path_.c_str());
  }
  StagedArchive(const StagedArchive&) = delete;
  StagedArchive& operator=(const StagedArchive&) = delete;

  const std::wstring& path() const { return path_; }

 private:
  std::wstring path_;
};

HXCGUI Named(const wchar_t* name) { return XC_GetObjectByName(name); }
HELE NamedElement(const wchar_t* name) { return reinterpret_cast<HELE>(XC_GetObjectByName(name)); }

int Fail(const char* what) {
  std::fprintf(stderr, "skin_preview: %s\n", what);
  return 1;
}

// Builds the window as the installer does, shows `page` and runs the message loop.
int ShowSkin(HMODULE install, Page page) {
  StagedArchive archive(RawData(install, IDR_UI_ARCHIVE));
  if (archive.path().empty()) return Fail("the UI archive resource cannot be staged");
  const wchar_t* zip = archive.path().c_str();
  if (!XC_LoadResourceZip(zip, L"resource.res", kPassword)) return Fail("the resource pack does not load");
  auto window = reinterpret_cast<HWINDOW>(XC_LoadLayoutZip(zip, L"main.xml", kPassword, nullptr, nullptr));
  if (!window) return Fail("main.xml does not load");
  XWnd_EnableMaxWindow(window, FALSE);
  XWnd_EnableDragWindow(window, TRUE);
  XWnd_SetTitle(window, L"Vexo助手在线安装");

  const wchar_t* const page_layouts[] = {L"a1.xml", L"a2.xml", L"a3.xml"};
  HELE pages[3] = {};
  for (int i = 0; i < 3; ++i) {
    pages[i] = reinterpret_cast<HELE>(
        XC_LoadLayoutZip(zip, page_layouts[i], kPassword, reinterpret_cast<HXCGUI>(window), nullptr));
    if (!pages[i]) return Fail("a page layout does not load");
    XEle_SetPosition(pages[i], 0, 255, TRUE, adjustLayout_self, 0);
    XEle_EnableDrawBorder(pages[i], FALSE);
    XEle_EnableBkTransparent(pages[i], TRUE);
    XEle_EnableDrawFocus(pages[i], FALSE);
  }
  XWnd_AdjustLayout(window);

  HIMAGE pictures[SKIN_PICTURE_COUNT] = {};
  for (int i = 0; i < SKIN_PICTURE_COUNT; ++i) {
    std::string bytes = RawData(install, IDR_BANNER + i);
    pictures[i] = XImage_LoadMemory(bytes.data(), static_cast<int>(bytes.size()));
    if (!pictures[i]) return Fail("a skin picture does not decode");
  }
  auto picture = [&](int id) { return pictures[id - IDR_BANNER]; };
  const struct {
    const wchar_t* button;
    int state;
    int id;
  } faces[] = {
      {L"main_jsan", element_state_flag_leave, IDR_INSTALL_NORMAL},
      {L"main_jsan", element_state_flag_stay, IDR_INSTALL_HOVER},
      {L"main_jsan", element_state_flag_down, IDR_INSTALL_PRESSED},
      {L"main_xzlj", element_state_flag_leave, IDR_BROWSE},
      {L"main_xzlj", element_state_flag_stay, IDR_BROWSE},
      {L"main_xzlj", element_state_flag_down, IDR_BROWSE},
      {L"main_ljty", element_state_flag_leave, IDR_LAUNCH_NORMAL},
      {L"main_ljty", element_state_flag_stay, IDR_LAUNCH_HOVER},
      {L"main_ljty", element_state_flag_down, IDR_LAUNCH_PRESSED},
  };
  for (const auto& face : faces) XEle_AddBkImage(NamedElement(face.button), face.state, picture(face.id));
  XEdit_SetText(NamedElement(L"main_lj"), L"固定目录:C:\\Program Files (x86)\\VexoProxy\\");

  const int shown = page == Page::kStart ? 0 : page == Page::kDone ? 2 : 1;
  for (int i = 0; i < 3; ++i) XWidget_Show(reinterpret_cast<HXCGUI>(pages[i]), i == shown);
  XShapePic_SetImage(Named(L"main_dt"), picture(page == Page::kDone ? IDR_BANNER_DONE : IDR_BANNER));
  if (page == Page::kProgress || page == Page::kFailed) XProgBar_SetPos(NamedElement(L"main_jdt"), 45);
  if (page == Page::kFailed) XWidget_Show(Named(L"main_retry"), TRUE);

  XWnd_Show(window, TRUE);
  XRunXCGUI();
  return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const struct {
    const wchar_t* name;
    Page page;
  } pages[] = {{L"start", Page::kStart}, {L"progress", Page::kProgress}, {L"failed", Page::kFailed},
               {L"done", Page::kDone}};
  const Page* page = nullptr;
  for (const auto& entry : pages) {
    if (argc == 3 && std::wcscmp(argv[2], entry.name) == 0) page = &entry.page;
  }
  if (!page) return Fail("usage: skin_preview <Install.exe> <start|progress|failed|done>");

  vexo::win::ScopedLibrary install(
      ::LoadLibraryExW(argv[1], nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE));
  if (!install) return Fail("the Install.exe given cannot be opened");
  if (!XInitXCGUI(FALSE)) return Fail("the UI library does not start");
  int status = ShowSkin(install.get(), *page);
  XExitXCGUI();
  return status;
}
