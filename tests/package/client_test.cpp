// VexoClient.exe as installed: its window names the product, the version and the folder it runs from, and
// every way of closing it ends the program with exit code 0.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "package/product.h"
#include "runtime/win/scoped_handles.h"
#include "runtime/win/windows_api.h"
#include "tests/package/staged_install.h"

namespace {

using vexo::test::StagedInstall;
namespace product = vexo::product;

constexpr DWORD kDeadlineMs = 30000;
constexpr DWORD kPollMs = 50;

std::wstring WindowText(HWND window) {
  wchar_t text[1024] = {};
  ::GetWindowTextW(window, text, 1024);
  return text;
}

struct WindowSearch {
  DWORD process_id;
  HWND found = nullptr;
};

BOOL CALLBACK FindVisibleWindow(HWND window, LPARAM context) {
  auto* search = reinterpret_cast<WindowSearch*>(context);
  DWORD owner = 0;
  ::GetWindowThreadProcessId(window, &owner);
  if (owner != search->process_id || !::IsWindowVisible(window)) return TRUE;
  search->found = window;
  return FALSE;
}

BOOL CALLBACK CollectChildren(HWND child, LPARAM context) {
  reinterpret_cast<std::vector<HWND>*>(context)->push_back(child);
  return TRUE;
}

std::vector<HWND> Children(HWND window) {
  std::vector<HWND> children;
  ::EnumChildWindows(window, CollectChildren, reinterpret_cast<LPARAM>(&children));
  return children;
}

std::vector<std::wstring> ChildTexts(HWND window) {
  std::vector<std::wstring> texts;
  for (HWND child : Children(window)) texts.push_back(WindowText(child));
  return texts;
}

HWND CloseButton(HWND window) {
  for (HWND child : Children(window)) {
    if (WindowText(child) == L"关闭") return child;
  }
  return nullptr;
}

struct CloseCase {
  const char* name;
  std::function<void(HWND window)> close;
};

class ClientTest : public testing::TestWithParam<CloseCase> {};

TEST_P(ClientTest, ShowsWhatIsInstalledWhereAndEndsWithZeroWhenClosed) {
  StagedInstall install;
  ASSERT_TRUE(install.ok());
  vexo::win::ScopedHandle process = install.StartClient();
  ASSERT_TRUE(process);

  WindowSearch search{::GetProcessId(process.get())};
  for (DWORD waited = 0; search.found == nullptr && waited < kDeadlineMs; waited += kPollMs) {
    ::Sleep(kPollMs);
    ::EnumWindows(FindVisibleWindow, reinterpret_cast<LPARAM>(&search));
  }
  if (search.found == nullptr) ::TerminateProcess(process.get(), 1);
  ASSERT_NE(search.found, nullptr) << "no window appeared";

  EXPECT_EQ(WindowText(search.found), product::kDisplayName);
  const std::vector<std::wstring> texts = ChildTexts(search.found);
  EXPECT_NE(std::find(texts.begin(), texts.end(), install.folder()), texts.end()) << "the folder is not shown";
  EXPECT_NE(std::find_if(texts.begin(), texts.end(),
                         [](const std::wstring& text) {
                           return text.find(std::wstring(product::kDisplayName) + L" " + product::kVersion) !=
                                  std::wstring::npos;
                         }),
            texts.end())
      << "the version is not shown";

  GetParam().close(search.found);
  const bool ended = ::WaitForSingleObject(process.get(), kDeadlineMs) == WAIT_OBJECT_0;
  if (!ended) ::TerminateProcess(process.get(), 1);
  ASSERT_TRUE(ended) << "the client did not end";
  DWORD exit_code = 1;
  ::GetExitCodeProcess(process.get(), &exit_code);
  EXPECT_EQ(exit_code, 0u);
}

void PressKey(HWND window, WPARAM key) {
  HWND target = CloseButton(window);
  ::PostMessageW(target, WM_KEYDOWN, key, 1);
  ::PostMessageW(target, WM_KEYUP, key, 1 | (1u << 30) | (1u << 31));
}

INSTANTIATE_TEST_SUITE_P(
    Closing, ClientTest,
    testing::Values(CloseCase{"WindowClose", [](HWND window) { ::PostMessageW(window, WM_CLOSE, 0, 0); }},
                    CloseCase{"CloseButton",
                              [](HWND window) { ::PostMessageW(CloseButton(window), BM_CLICK, 0, 0); }},
                    CloseCase{"EscapeKey", [](HWND window) { PressKey(window, VK_ESCAPE); }},
                    CloseCase{"EnterKey", [](HWND window) { PressKey(window, VK_RETURN); }}),
    [](const testing::TestParamInfo<CloseCase>& info) { return info.param.name; });

}  // namespace
