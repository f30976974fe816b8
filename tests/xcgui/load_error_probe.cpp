// A GUI-subsystem program for the load-error tests: starts the library and loads the members named on
// its command line from an archive, as a program would at start-up.
//   xcgui_load_probe ARCHIVE PASSWORD MEMBER...   (members ending in .res are resource packs, the others
//                                                  window layouts)
// Exit code: the number of loads that failed; 100 when the arguments or the library start fail.
#include <windows.h>

#include <cstdlib>
#include <string>

#include "xcgui/xcgui.h"

namespace {

constexpr int kUsageError = 100;

bool EndsWith(const std::wstring& text, const std::wstring& tail) {
  return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  if (__argc < 4 || !XInitXCGUI(FALSE)) return kUsageError;
  const wchar_t* archive = __wargv[1];
  const wchar_t* password = __wargv[2];
  int failed = 0;
  for (int i = 3; i < __argc; ++i) {
    std::wstring member = __wargv[i];
    bool loaded = EndsWith(member, L".res")
                      ? XC_LoadResourceZip(archive, member.c_str(), password) != FALSE
                      : XC_LoadLayoutZip(archive, member.c_str(), password, nullptr, nullptr) != nullptr;
    if (!loaded) ++failed;
  }
  XExitXCGUI();
  return failed;
}
