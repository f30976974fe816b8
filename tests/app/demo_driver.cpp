// The demo's user: drives the real Install.exe from the start page through the download to the done
// page and the launch with real input, saves a screenshot of each page and prints what was installed.
//   install_demo_driver <screenshot folder (build machine path)>
#include <shlobj.h>

#include <cstdio>
#include <string>

#include "tests/app/install_traces.h"
#include "tests/app/installer_driver.h"
#include "tests/sys/sys_test_support.h"
#include "tests/xcgui/screen.h"

namespace {

using vexo::test::Element;
using vexo::test::Utf8;

// Saves the window's area of the screen as `folder`/`name` and prints where.
void Screenshot(HWND window, const std::string& folder, const std::string& name) {
  RECT rect{};
  ::GetWindowRect(window, &rect);
  const std::string path = folder + "/" + name;
  const std::string geometry = std::to_string(rect.right - rect.left) + "x" + std::to_string(rect.bottom - rect.top) +
                               "+" + std::to_string(rect.left) + "+" + std::to_string(rect.top);
  xcgui_test::RunHostProgram("/usr/bin/import -window root -crop " + geometry + " +repage " + path);
  std::printf("  screenshot: %s\n", path.c_str());
}

void PrintFiles(const std::wstring& folder, const std::wstring& relative) {
  WIN32_FIND_DATAW found{};
  HANDLE search = ::FindFirstFileW((folder + relative + L"*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    const std::wstring name = found.cFileName;
    if (name == L"." || name == L"..") continue;
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      PrintFiles(folder, relative + name + L"\\");
    } else {
      std::printf("    %s (%lu bytes)\n", Utf8(relative + name).c_str(), found.nFileSizeLow);
    }
  } while (::FindNextFileW(search, &found));
  ::FindClose(search);
}

void PrintInstalled(const std::wstring& folder) {
  std::printf("Installed files in %s:\n", Utf8(folder).c_str());
  PrintFiles(folder, L"");
  std::printf("Shortcuts:\n");
  for (int csidl : vexo::test::kShortcutFolders) {
    const std::wstring path = vexo::test::ShortcutPath(csidl);
    const vexo::test::Shortcut link = vexo::test::ReadShortcut(path);
    std::printf("    %s -> %s (working folder %s, show %lu)\n", Utf8(path).c_str(),
                link.exists ? Utf8(link.target).c_str() : "(missing)", Utf8(link.working_folder).c_str(),
                link.show_command);
  }
  for (const wchar_t* key : vexo::test::kUninstallPaths) {
    std::printf("HKEY_LOCAL_MACHINE\\%s:\n", Utf8(key).c_str());
    for (const wchar_t* name : {L"DisplayName", L"Publisher", L"DisplayVersion", L"DisplayIcon", L"UninstallString",
                                L"InstallLocation", L"EstimatedSize"}) {
      const vexo::test::RegistryValue value = vexo::test::ReadValue(key, name);
      if (value.type == REG_DWORD) {
        std::printf("    %s REG_DWORD %lu\n", Utf8(name).c_str(), value.number);
      } else {
        std::printf("    %s %s %s\n", Utf8(name).c_str(), value.type == REG_SZ ? "REG_SZ" : "(missing)",
                    Utf8(value.text).c_str());
      }
    }
  }
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: install_demo_driver <screenshot folder>\n");
    return 2;
  }
  const std::string shots = Utf8(argv[1]);
  const std::wstring folder = vexo::test::DefaultInstallFolder();
  vexo::test::RemoveInstallTraces(folder);
  // The package arrives in pieces over a few seconds, so the progress page can be seen.
  vexo::test::SetPackageMode("slow");

  vexo::test::InstallerDriver installer;
  if (!installer.started()) {
    std::fprintf(stderr, "Install.exe did not show its window\n");
    return 1;
  }
  std::printf("Install.exe is showing its start page.\n");
  Screenshot(installer.window(), shots, "1-start.png");
  installer.Click(Element::kInstall);
  ::Sleep(1500);
  std::printf("Downloading.\n");
  Screenshot(installer.window(), shots, "2-progress.png");
  const std::string outcome = installer.WaitForOutcome();
  std::printf("Outcome: %s\n", outcome.c_str());
  if (outcome != "installed") {
    std::printf("%s", installer.Log().c_str());
    return 1;
  }
  ::Sleep(500);
  Screenshot(installer.window(), shots, "3-done.png");
  PrintInstalled(folder);
  installer.Click(Element::kLaunch);
  const long exit_code = installer.WaitForExit();
  std::printf("Install.exe ended with exit code %ld after the launch click.\n", exit_code);
  HWND client = nullptr;
  for (int waited = 0; waited < 10000 && client == nullptr; waited += 100) {
    client = ::FindWindowW(nullptr, L"Vexo助手");
    ::Sleep(100);
  }
  if (client == nullptr) {
    std::printf("The installed client did not start.\n");
    return 1;
  }
  ::Sleep(500);
  Screenshot(client, shots, "4-client.png");
  ::PostMessageW(client, WM_CLOSE, 0, 0);
  vexo::test::SetPackageMode("ok");
  return exit_code == 0 ? 0 : 1;
}
