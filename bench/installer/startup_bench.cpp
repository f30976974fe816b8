// Start-up of installer builds side by side with a bare window, in interleaved rounds so that a changing
// machine load falls on all of them alike. Needs no package server: only the start page is shown.
//
//   startup_bench ROUNDS INSTALLER...
//
// Figures per INSTALLER (each a build of Install.exe; the bare window is bare_window.exe beside this program):
//   first paint      from just before the process is created to the first screen sample that shows the
//                    window's final start image (unchanged for 300 ms afterwards);
//   second start     from just before a second instance is created, while the first shows its page, to its
//                    end: the loader with every DLL import, static construction, the runtime's start and the
//                    single-instance check, which ends that process at once;
//   peak WS          the first instance's peak working set once its page is shown.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench/installer/child_process.h"
#include "bench/installer/spread.h"
#include "bench/installer/window_watch.h"

namespace {

using vexo::bench::Now;
using vexo::bench::Show;
using vexo::bench::SpreadOf;

constexpr const wchar_t* kInstallerTitle = L"Vexo助手在线安装";
constexpr const wchar_t* kBareTitle = L"bare window";
constexpr DWORD kStableMs = 300;
constexpr DWORD kStartTimeoutMs = 30000;
constexpr DWORD kExitTimeoutMs = 10000;
constexpr double kMB = 1e6;

struct Figures {
  std::vector<double> first_paint;   // seconds
  std::vector<double> second_start;  // seconds
  std::vector<double> peak_ws;       // bytes
  int failed = 0;
};

std::wstring Quoted(const std::wstring& text) { return L"\"" + text + L"\""; }

// Waits for `process` to end, ending it when it does not within the timeout; whether it ended by itself.
bool EndedInTime(HANDLE process) {
  if (::WaitForSingleObject(process, kExitTimeoutMs) == WAIT_OBJECT_0) return true;
  ::TerminateProcess(process, 1);
  ::WaitForSingleObject(process, kExitTimeoutMs);
  return false;
}

// One start of `program` (window `title`) up to its first paint, then, with `second` set, a second start
// while the first shows its page; closes the window and waits for the process to end.
void RunOnce(const std::wstring& program, const wchar_t* title, bool second, Figures& figures) {
  vexo::bench::WindowWatch watch(title, kStableMs, kStartTimeoutMs);
  const double start = Now();
  const vexo::win::ScopedHandle process = vexo::bench::StartProgram(Quoted(program));
  const double painted = watch.FinalImageSeen();
  bool ok = process && painted > 0;
  if (ok) {
    figures.first_paint.push_back(painted - start);
    figures.peak_ws.push_back(static_cast<double>(vexo::bench::ReadMemoryFigures(process.get()).peak));
  }
  if (ok && second) {
    const double second_start = Now();
    const vexo::win::ScopedHandle other = vexo::bench::StartProgram(Quoted(program));
    ok = other && EndedInTime(other.get());
    if (ok) figures.second_start.push_back(Now() - second_start);
  }
  if (watch.window() != nullptr) ::PostMessageW(watch.window(), WM_CLOSE, 0, 0);
  if (process && !EndedInTime(process.get())) ok = false;
  if (!ok) ++figures.failed;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: startup_bench ROUNDS INSTALLER...\n");
    return 2;
  }
  const int rounds = std::max(1, static_cast<int>(std::wcstol(argv[1], nullptr, 10)));
  const std::vector<std::wstring> installers(argv + 2, argv + argc);
  const std::wstring bare = vexo::bench::SiblingProgram(L"bare_window.exe");

  // One untimed start of each program loads what wine caches between processes.
  Figures warm;
  RunOnce(bare, kBareTitle, false, warm);
  for (const std::wstring& installer : installers) RunOnce(installer, kInstallerTitle, false, warm);

  Figures bare_figures;
  std::vector<Figures> installer_figures(installers.size());
  for (int round = 0; round < rounds; ++round) {
    RunOnce(bare, kBareTitle, false, bare_figures);
    // Each round starts with another installer, so none always follows the bare window.
    for (std::size_t i = 0; i < installers.size(); ++i) {
      const std::size_t which = (i + static_cast<std::size_t>(round)) % installers.size();
      RunOnce(installers[which], kInstallerTitle, true, installer_figures[which]);
    }
  }

  const double bare_paint = SpreadOf(bare_figures.first_paint).median;
  std::printf("| program | first paint ms | over bare ms | second start ms | peak WS MB | failed |\n"
              "|---|---|---|---|---|---|\n");
  std::printf("| bare window | %s | | | %s | %d |\n", Show(SpreadOf(bare_figures.first_paint), 1000, 0).c_str(),
              Show(SpreadOf(bare_figures.peak_ws), 1 / kMB, 1).c_str(), bare_figures.failed);
  int failed = bare_figures.failed;
  for (std::size_t i = 0; i < installers.size(); ++i) {
    const Figures& f = installer_figures[i];
    const int length = ::WideCharToMultiByte(CP_UTF8, 0, installers[i].c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string name(length > 0 ? length - 1 : 0, '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, installers[i].c_str(), -1, name.data(), length, nullptr, nullptr);
    std::printf("| %s | %s | %+.0f | %s | %s | %d |\n", name.c_str(), Show(SpreadOf(f.first_paint), 1000, 0).c_str(),
                (SpreadOf(f.first_paint).median - bare_paint) * 1000, Show(SpreadOf(f.second_start), 1000, 0).c_str(),
                Show(SpreadOf(f.peak_ws), 1 / kMB, 1).c_str(), f.failed);
    failed += f.failed;
  }
  return failed == 0 ? 0 : 1;
}
