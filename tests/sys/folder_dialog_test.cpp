// The folder dialog, shown for real and driven with mouse and keyboard: the initial folder is preselected,
// the user's choice comes back without a trailing backslash, cancelling gives the empty text, and the
// calling thread's COM state is left as it was.
#include "sys/folder_dialog.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <thread>

#include "tests/sys/folder_dialog_driver.h"
#include "tests/sys/sys_test_support.h"

namespace {

using vexo::sys::BrowseForFolder;
using vexo::test::FolderDialogDriver;

const wchar_t kTitle[] = L"请选择安装目录路径";

// The dialog finds the initial folder by comparing shell item ids, which carry each folder's time stamps:
// a folder that changes while the dialog opens (the temporary folder, where other tests and wine itself
// write) is not found. The dialog tests therefore work in folders of their own on drive C:.
const wchar_t kQuietParent[] = L"C:\\";

// Those item ids carry each folder's last access time, in 2-second steps. The build machine's file system
// (relatime) moves a new folder's access time at the first listing of its content, and the dialog's own
// lookup of the initial path lists each folder on the way after taking its id: when that moves the time
// across a 2-second step, the tree's id of the folder differs from the path's and the folder is not found.
// Listing each new folder once before the dialog opens settles its access time.
void SettleAccessTimes(std::initializer_list<std::wstring> folders) {
  for (const std::wstring& folder : folders) {
    WIN32_FIND_DATAW found{};
    const HANDLE listing = ::FindFirstFileW((folder + L"*").c_str(), &found);
    if (listing != INVALID_HANDLE_VALUE) ::FindClose(listing);
  }
}

std::wstring WithoutBackslash(const std::wstring& folder) { return folder.substr(0, folder.size() - 1); }

std::wstring Browse(const std::wstring& initial_folder) {
  return BrowseForFolder(CWString(kTitle), CWString(initial_folder.c_str())).GetText();
}

// Under load, wine's first folder dialog in a process sometimes misses its initial folder (its tree then
// shows another item selected); every later one finds it. One dialog is therefore shown and dismissed
// before the tests.
class BrowseForFolderTest : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    FolderDialogDriver driver(::GetCurrentThreadId(), kTitle, FolderDialogDriver::Gesture::kDismiss);
    Browse(L"C:\\");
  }
};

TEST_F(BrowseForFolderTest, OpensOnTheInitialFolderAndReturnsItWhenConfirmed) {
  vexo::test::ScratchFolder scratch(kQuietParent);
  const std::wstring initial = scratch.path() + L"预选 目录\\";
  ASSERT_TRUE(::CreateDirectoryW(initial.c_str(), nullptr));
  SettleAccessTimes({scratch.path(), initial});
  FolderDialogDriver driver(::GetCurrentThreadId(), kTitle, FolderDialogDriver::Gesture::kClickOk);
  const std::wstring chosen = Browse(initial);
  const FolderDialogDriver::Observed seen = driver.Finish();
  ASSERT_TRUE(seen.dialog_found);
  EXPECT_TRUE(seen.closed_by_gesture);
  EXPECT_EQ(seen.folder_text, L"预选 目录");
  EXPECT_EQ(chosen, WithoutBackslash(initial));
}

TEST_F(BrowseForFolderTest, ReturnsTheSubfolderTheUserMovesTo) {
  vexo::test::ScratchFolder scratch(kQuietParent);
  const std::wstring parent = scratch.path() + L"Program Files\\";
  for (const std::wstring& folder : {parent, parent + L"Alpha 助手\\", parent + L"Beta\\"}) {
    ASSERT_TRUE(::CreateDirectoryW(folder.c_str(), nullptr));
  }
  SettleAccessTimes({scratch.path(), parent});
  FolderDialogDriver driver(::GetCurrentThreadId(), kTitle,
                            FolderDialogDriver::Gesture::kOpenFirstSubfolderAndPressEnter);
  const std::wstring chosen = Browse(parent);
  const FolderDialogDriver::Observed seen = driver.Finish();
  EXPECT_TRUE(seen.closed_by_gesture);
  EXPECT_EQ(seen.folder_text, L"Program Files");
  EXPECT_EQ(chosen, parent + L"Alpha 助手");
}

TEST_F(BrowseForFolderTest, CancellingGivesTheEmptyText) {
  vexo::test::ScratchFolder scratch(kQuietParent);
  for (const auto gesture : {FolderDialogDriver::Gesture::kClickCancel, FolderDialogDriver::Gesture::kPressEscape}) {
    SCOPED_TRACE(static_cast<int>(gesture));
    FolderDialogDriver driver(::GetCurrentThreadId(), kTitle, gesture);
    const std::wstring chosen = Browse(scratch.path());
    EXPECT_TRUE(driver.Finish().closed_by_gesture);
    EXPECT_EQ(chosen, L"");
  }
}

TEST_F(BrowseForFolderTest, LeavesTheThreadsComStateAsItWas) {
  struct Case {
    const char* what;
    bool initialise_first;
    DWORD model;
  };
  const Case cases[] = {
      {"no COM yet", false, COINIT_APARTMENTTHREADED},
      {"single-threaded apartment", true, COINIT_APARTMENTTHREADED},
      {"multithreaded apartment", true, COINIT_MULTITHREADED},
  };
  vexo::test::ScratchFolder scratch(kQuietParent);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    HRESULT after = E_FAIL;
    std::thread caller([&] {
      if (c.initialise_first) {
        ASSERT_EQ(::CoInitializeEx(nullptr, c.model), S_OK);
      }
      FolderDialogDriver driver(::GetCurrentThreadId(), kTitle, FolderDialogDriver::Gesture::kClickCancel);
      EXPECT_EQ(Browse(scratch.path()), L"");
      EXPECT_TRUE(driver.Finish().closed_by_gesture);
      // S_OK: COM was not initialised any more; S_FALSE: it still was, in this model.
      after = ::CoInitializeEx(nullptr, c.model);
      if (SUCCEEDED(after)) ::CoUninitialize();
      if (c.initialise_first) ::CoUninitialize();
    });
    caller.join();
    EXPECT_EQ(after, c.initialise_first ? S_FALSE : S_OK);
  }
}

}  // namespace
