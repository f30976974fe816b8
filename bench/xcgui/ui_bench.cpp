// Prints how fast the UI library shows and repaints an installer-like window (600 x 420, banner picture,
// three pages from an encrypted archive) and how much memory the process then uses.
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "xcgui/xcgui.h"

namespace {

double Milliseconds(LARGE_INTEGER from, LARGE_INTEGER to) {
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  return 1000.0 * static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

LARGE_INTEGER Now() {
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return now;
}

double WorkingSetMegabytes(bool peak) {
  PROCESS_MEMORY_COUNTERS counters = {};
  counters.cb = sizeof(counters);
  GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof(counters));
  return static_cast<double>(peak ? counters.PeakWorkingSetSize : counters.WorkingSetSize) / (1024.0 * 1024.0);
}

// Moments of the start, for the breakdown of the first paint.
struct Phases {
  LARGE_INTEGER init, pack, window, pages;
};

// Builds the window the way the installer does; the window, or 0 when something failed.
HWINDOW BuildWindow(Phases* phases) {
  const wchar_t* archive = XCGUI_BENCH_ARCHIVE;
  const wchar_t* password = XCGUI_BENCH_PASSWORD;
  if (!XC_LoadResourceZip(archive, L"resource.res", password)) return nullptr;
  phases->pack = Now();
  auto window = reinterpret_cast<HWINDOW>(XC_LoadLayoutZip(archive, L"main.xml", password, nullptr, nullptr));
  if (!window) return nullptr;
  phases->window = Now();
  XWnd_Show(window, TRUE);
  XWnd_EnableMaxWindow(window, FALSE);
  XWnd_EnableDragWindow(window, TRUE);
  XWnd_SetTitle(window, L"Vexo\x52A9\x624B\x5728\x7EBF\x5B89\x88C5");
  HXCGUI pages[3];
  const wchar_t* names[3] = {L"a1.xml", L"a2.xml", L"a3.xml"};
  for (int i = 0; i < 3; ++i) {
    pages[i] = XC_LoadLayoutZip(archive, names[i], password, reinterpret_cast<HXCGUI>(window), nullptr);
    if (!pages[i]) return nullptr;
    auto page = reinterpret_cast<HELE>(pages[i]);
    XWidget_Show(pages[i], i == 0);
    XEle_SetPosition(page, 0, 255, TRUE, adjustLayout_self, 0);
    XEle_EnableDrawBorder(page, FALSE);
    XEle_EnableBkTransparent(page, TRUE);
    XEle_EnableDrawFocus(page, FALSE);
  }
  XWnd_AdjustLayout(window);
  phases->pages = Now();
  return window;
}

}  // namespace

int main() {
  LARGE_INTEGER start = Now();
  if (!XInitXCGUI(FALSE)) {
    std::fprintf(stderr, "XInitXCGUI failed\n");
    return 1;
  }
  Phases phases;
  phases.init = Now();
  HWINDOW window = BuildWindow(&phases);
  if (!window) {
    std::fprintf(stderr, "the benchmark window could not be built\n");
    XExitXCGUI();
    return 1;
  }
  UpdateWindow(XWnd_GetHWND(window));  // the first paint, synchronously
  double first_paint = Milliseconds(start, Now());

  // Let the window settle, then repaint the whole client area many times.
  MSG msg;
  for (DWORD until = GetTickCount() + 300; static_cast<int>(until - GetTickCount()) > 0; Sleep(5)) {
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
  }
  const int kRepaints = 200;
  std::vector<double> repaints;
  for (int i = 0; i < kRepaints; ++i) {
    LARGE_INTEGER before = Now();
    XWnd_Redraw(window, TRUE);
    repaints.push_back(Milliseconds(before, Now()));
  }
  std::sort(repaints.begin(), repaints.end());
  double mean = 0;
  for (double r : repaints) mean += r / kRepaints;

  std::printf("first paint after XInitXCGUI: %.1f ms (target < 150 ms)\n", first_paint);
  std::printf("  start %.1f ms, resource pack %.1f ms, main window %.1f ms, pages %.1f ms, show and paint %.1f ms\n",
              Milliseconds(start, phases.init), Milliseconds(phases.init, phases.pack),
              Milliseconds(phases.pack, phases.window), Milliseconds(phases.window, phases.pages),
              Milliseconds(phases.pages, start) + first_paint);
  std::printf("full repaint 600x420: median %.2f ms, mean %.2f ms, 95th percentile %.2f ms (target < 5 ms)\n",
              repaints[kRepaints / 2], mean, repaints[kRepaints * 95 / 100]);
  std::printf("working set: %.1f MB now, %.1f MB peak (target < 20 MB)\n", WorkingSetMegabytes(false),
              WorkingSetMegabytes(true));
  XExitXCGUI();
  return 0;
}
