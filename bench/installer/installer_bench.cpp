// The installer end to end against the fastest possible install on this machine, and its start-up against
// a bare window, side by side in one run on the same loopback server, prefix and packages. Run it with
// bench/installer/run.sh, which makes the packages and starts wine, Xvfb and the server.
//
//   installer_bench SERVED_FILE PACKAGE_DIR STRIPPED_INSTALLER ROUNDS SIZE_MB...
//
// SERVED_FILE is the file the package listener serves as /installpack.zip; each size's package
// (PACKAGE_DIR\installpack-<N>MB.zip) is hard-linked there in turn. STRIPPED_INSTALLER is a copy of
// Install.exe without debug information, for its shipped size.
//
// Moments, all taken from outside the installer:
//   first paint      from just before the process is created to the first screen sample that shows the
//                    window's final start image (the image that then stays unchanged for 300 ms);
//   click            the moment the bench sends the button release over the install button (xdotool);
//   done page shown  the first screen sample, after the log says "outcome: installed", that shows the
//                    window's final image (the done page, unchanged for 300 ms).
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench/installer/child_process.h"
#include "bench/installer/install_log_steps.h"
#include "bench/installer/spread.h"
#include "bench/installer/window_watch.h"
#include "tests/app/install_traces.h"
#include "tests/app/installer_driver.h"
#include "tests/sys/sys_test_support.h"
#include "tests/xcgui/screen.h"

namespace {

using vexo::bench::Now;
using vexo::bench::Show;
using vexo::bench::Spread;
using vexo::bench::SpreadOf;
using vexo::test::Element;

constexpr const wchar_t* kInstallerTitle = L"Vexo助手在线安装";
constexpr const wchar_t* kBareTitle = L"bare window";
constexpr const wchar_t* kPackageUrl = L"" VEXO_PACKAGE_URL;
constexpr DWORD kStableMs = 300;
constexpr DWORD kStartTimeoutMs = 30000;
constexpr double kInstallTimeoutS = 600;
constexpr DWORD kShowTimeoutMs = 10000;
constexpr double kMB = 1e6;

std::string Utf8(const std::wstring& text) {
  const int size = ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
  std::string bytes(size > 0 ? size - 1 : 0, '\0');
  if (size > 1) ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, bytes.data(), size, nullptr, nullptr);
  return bytes;
}

std::wstring Quoted(const std::wstring& text) { return L"\"" + text + L"\""; }

long long FileSize(const std::wstring& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!::GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return -1;
  return (static_cast<long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

// Where the benchmark installs and downloads: the installer's default folder and temporary folder.
struct Places {
  std::wstring install_folder;  // ends in a backslash
  std::wstring temp_folder;     // ends in a backslash

  // The installer downloads into a folder of its own below the temporary folder.
  std::wstring InstallerPackage() const { return temp_folder + L"VexoProxy_temp\\installpack.zip"; }
  std::wstring LimitPackage() const { return temp_folder + L"vexo-limit-installpack.zip"; }

  // Leaves no install, no registration and no downloaded package behind.
  void Clear() const {
    vexo::test::RemoveInstallTraces(install_folder);
    for (const std::wstring& file : {InstallerPackage(), InstallerPackage() + L".part", LimitPackage()}) {
      ::DeleteFileW(file.c_str());
    }
  }
};

// While it lives, this process has no standard handles, so that a program it starts gets none.
class StandardHandlesWithdrawn {
 public:
  StandardHandlesWithdrawn() {
    for (int i = 0; i < kCount; ++i) {
      saved_[i] = ::GetStdHandle(kIds[i]);
      ::SetStdHandle(kIds[i], nullptr);
    }
  }
  ~StandardHandlesWithdrawn() {
    for (int i = 0; i < kCount; ++i) ::SetStdHandle(kIds[i], saved_[i]);
  }
  StandardHandlesWithdrawn(const StandardHandlesWithdrawn&) = delete;
  StandardHandlesWithdrawn& operator=(const StandardHandlesWithdrawn&) = delete;

 private:
  static constexpr int kCount = 3;
  static constexpr DWORD kIds[kCount] = {STD_INPUT_HANDLE, STD_OUTPUT_HANDLE, STD_ERROR_HANDLE};
  HANDLE saved_[kCount] = {};
};

// Starts Install.exe the way the desktop does: without standard handles (wine would otherwise hand it
// this program's), so that the 7-Zip console it starts gets a console of its own, as it would there.
vexo::test::InstallerDriver StartInstaller() {
  const StandardHandlesWithdrawn withdrawn;
  return vexo::test::InstallerDriver();
}

struct StartFigures {
  bool ok = false;
  double first_paint = 0;  // seconds
  double peak_ws = 0;      // bytes, after the first paint
};

StartFigures RunBareWindow() {
  StartFigures figures;
  vexo::bench::WindowWatch watch(kBareTitle, kStableMs, kStartTimeoutMs);
  const double start = Now();
  const vexo::win::ScopedHandle process =
      vexo::bench::StartProgram(Quoted(vexo::bench::SiblingProgram(L"bare_window.exe")));
  const double seen = watch.FinalImageSeen();
  if (!process) return figures;
  figures.peak_ws = static_cast<double>(vexo::bench::ReadMemoryFigures(process.get()).peak);
  if (watch.window() != nullptr) ::PostMessageW(watch.window(), WM_CLOSE, 0, 0);
  if (::WaitForSingleObject(process.get(), 10000) != WAIT_OBJECT_0) ::TerminateProcess(process.get(), 1);
  figures.ok = seen > 0;
  figures.first_paint = seen - start;
  return figures;
}

struct LimitFigures {
  bool ok = false;
  double download = 0;
  double unpack = 0;
};

// The bench's own server may not be the one that answered: another worktree's tests listen on the same
// fixed port. A round counts only when the whole package of this size arrived.
LimitFigures RunLimit(const Places& places, long long package_bytes) {
  LimitFigures figures;
  places.Clear();
  const std::wstring folder = places.install_folder.substr(0, places.install_folder.size() - 1);
  const std::string output =
      vexo::test::RunAndCapture(Quoted(vexo::bench::SiblingProgram(L"limit_install.exe")) + L" " + kPackageUrl + L" " +
                                Quoted(places.LimitPackage()) + L" " + Quoted(folder));
  long long bytes = 0;
  if (std::sscanf(output.c_str(), "%lf %lf %lld", &figures.download, &figures.unpack, &bytes) != 3 ||
      !vexo::test::IsFile(places.install_folder + L"VexoClient.exe")) {
    std::printf("  the limit failed: %s\n", output.c_str());
  } else if (bytes != package_bytes) {
    std::printf("  the limit downloaded %lld bytes, not the package's %lld\n", bytes, package_bytes);
  } else {
    figures.ok = true;
  }
  return figures;
}

struct InstallFigures {
  bool ok = false;
  double built = 0;        // process start -> the log's start line (window built)
  double first_paint = 0;  // process start -> first paint
  double total = 0;        // click -> done page shown
  // The same span cut at the log's steps: click handled, download, signature (its download and check), verify,
  // unpack, client check and registration, done page on the screen after the outcome line.
  double handled = 0, download = 0, signature = 0, verify = 0, unpack = 0, registration = 0, shown = 0;
  double transfer = 0;  // the transfer's own time as the installer logged it
  // Peak working set in bytes on the start page; working set when the download's and the unpack's last log lines
  // appeared, and the peak when the done page was shown.
  double ws_start = 0, ws_downloaded = 0, ws_unpacked = 0, peak_ws = 0;
};

// Waits until the log holds an outcome line, noting the installer's working set when the download's and
// the unpack's lines appear; the log, or "" after the timeout.
std::string FollowInstall(const vexo::test::InstallerDriver& installer, HANDLE process, double deadline,
                          InstallFigures& figures) {
  for (;;) {
    std::string log = installer.Log();
    if (log.find("  outcome: ") != std::string::npos) return log;
    const double working_set = static_cast<double>(vexo::bench::ReadMemoryFigures(process).working_set);
    if (figures.ws_downloaded == 0 && log.find("  download: none -> ") != std::string::npos) {
      figures.ws_downloaded = working_set;
    }
    if (figures.ws_unpacked == 0 && log.find("  unpack: ") != std::string::npos) figures.ws_unpacked = working_set;
    if (Now() > deadline) return std::string();
    ::Sleep(10);
  }
}

InstallFigures RunInstaller(const Places& places, long long package_bytes) {
  InstallFigures figures;
  places.Clear();
  xcgui_test::MouseMove(0, 0);
  vexo::bench::WindowWatch start_watch(kInstallerTitle, kStableMs, kStartTimeoutMs);
  SYSTEMTIME start_local{};
  ::GetLocalTime(&start_local);
  const double start = Now();
  vexo::test::InstallerDriver installer = StartInstaller();
  const double painted = start_watch.FinalImageSeen();
  if (!installer.started() || painted < 0) {
    std::printf("  Install.exe did not show its start page\n");
    return figures;
  }
  figures.first_paint = painted - start;
  DWORD process_id = 0;
  ::GetWindowThreadProcessId(installer.window(), &process_id);
  const vexo::win::ScopedHandle process = vexo::bench::OpenForMemoryFigures(process_id);
  figures.ws_start = static_cast<double>(vexo::bench::ReadMemoryFigures(process.get()).peak);

  const RECT button = installer.ScreenRect(Element::kInstall);
  xcgui_test::MouseMove((button.left + button.right) / 2, (button.top + button.bottom) / 2);
  ::Sleep(200);
  xcgui_test::MouseDown();
  ::Sleep(50);
  SYSTEMTIME local{};
  ::GetLocalTime(&local);
  const double clicked = Now();
  xcgui_test::MouseUp();
  xcgui_test::MouseMove(0, 0);

  const std::string log = FollowInstall(installer, process.get(), clicked + kInstallTimeoutS, figures);
  vexo::bench::WindowWatch done_watch(kInstallerTitle, kStableMs, kShowTimeoutMs);
  const double shown = done_watch.FinalImageSeen();
  figures.peak_ws = static_cast<double>(vexo::bench::ReadMemoryFigures(process.get()).peak);
  const vexo::bench::InstallLogSteps steps = vexo::bench::ReadInstallLogSteps(log);
  installer.Click(Element::kClose);
  const long exit_code = installer.WaitForExit();
  if (log.find("  outcome: installed") == std::string::npos || !steps.complete || shown < 0) {
    std::printf("  the install did not end on a shown done page; its log:\n%s\n", installer.Log().c_str());
    return figures;
  }
  if (steps.bytes != package_bytes) {
    std::printf("  Install.exe downloaded %lld bytes, not the package's %lld\n", steps.bytes, package_bytes);
    return figures;
  }
  if (exit_code != 0) std::printf("  Install.exe exited with %ld after the close click\n", exit_code);
  figures.total = shown - clicked;
  // The log's clock and the bench's are both the system's; the click's local time joins them.
  const double click_moment = vexo::bench::LogSeconds(local);
  const double shown_moment = click_moment + figures.total;
  figures.built = steps.started - vexo::bench::LogSeconds(start_local);
  figures.handled = steps.clicked - click_moment;
  figures.download = steps.downloaded - steps.clicked;
  figures.signature = steps.signature - steps.downloaded;
  figures.verify = steps.verified - steps.signature;
  figures.unpack = steps.unpacked - steps.verified;
  figures.registration = steps.finished - steps.unpacked;
  figures.shown = shown_moment - steps.finished;
  figures.transfer = steps.transfer_ms / 1000;
  figures.ok = true;
  return figures;
}

struct SizeResult {
  long size_mb = 0;
  long long package_bytes = 0;
  std::vector<LimitFigures> limits;
  std::vector<InstallFigures> installs;
};

// Spread of one figure over the successful rounds.
template <typename Figures>
Spread Over(const std::vector<Figures>& rounds, double Figures::*figure) {
  std::vector<double> values;
  for (const Figures& round : rounds) {
    if (round.ok) values.push_back(round.*figure);
  }
  return SpreadOf(values);
}

template <typename Figures>
Spread Over(const std::vector<Figures>& rounds, double (*figure)(const Figures&)) {
  std::vector<double> values;
  for (const Figures& round : rounds) {
    if (round.ok) values.push_back(figure(round));
  }
  return SpreadOf(values);
}

double LimitTotal(const LimitFigures& f) { return f.download + f.unpack; }

void PrintRound(int round, const LimitFigures& limit, const InstallFigures& install, const StartFigures& bare) {
  std::printf(
      "  round %d: limit %.3f s (download %.3f + unpack %.3f); Install.exe %.3f s (handled %.3f, download "
      "%.3f [transfer %.3f], signature %.3f, verify %.3f, unpack %.3f, register %.3f, shown %.3f), peak WS %.1f MB; "
      "first paint %.0f ms, bare window %.0f ms\n",
      round, limit.download + limit.unpack, limit.download, limit.unpack, install.total, install.handled,
      install.download, install.transfer, install.signature, install.verify, install.unpack, install.registration, install.shown,
      install.peak_ws / kMB, install.first_paint * 1000, bare.first_paint * 1000);
  std::fflush(stdout);
}

SizeResult RunSize(long size_mb, const std::wstring& served, const std::wstring& package_dir, int rounds,
                   const Places& places, std::vector<StartFigures>& bare_starts) {
  SizeResult result;
  result.size_mb = size_mb;
  const std::wstring package = package_dir + L"\\installpack-" + std::to_wstring(size_mb) + L"MB.zip";
  result.package_bytes = FileSize(package);
  ::DeleteFileW(served.c_str());
  ::DeleteFileW((served + L".sig").c_str());
  if (result.package_bytes < 0 || !::CreateHardLinkW(served.c_str(), package.c_str(), nullptr)) {
    std::printf("%ld MB: cannot serve %s\n", size_mb, Utf8(package).c_str());
    return result;
  }
  // An installer built with a public key asks for the package's signature next to it.
  const std::wstring signature = package + L".sig";
  if (FileSize(signature) > 0 && !::CreateHardLinkW((served + L".sig").c_str(), signature.c_str(), nullptr)) {
    std::printf("%ld MB: cannot serve %s\n", size_mb, Utf8(signature).c_str());
    return result;
  }
  std::printf("%ld MB package (%lld bytes): warm-up download and unpack\n", size_mb, result.package_bytes);
  std::fflush(stdout);
  if (!RunLimit(places, result.package_bytes).ok) return result;
  for (int round = 0; round < rounds; ++round) {
    // The order alternates so that neither side always runs on a machine the other has just warmed.
    LimitFigures limit;
    InstallFigures install;
    if (round % 2 == 0) {
      limit = RunLimit(places, result.package_bytes);
      install = RunInstaller(places, result.package_bytes);
    } else {
      install = RunInstaller(places, result.package_bytes);
      limit = RunLimit(places, result.package_bytes);
    }
    const StartFigures bare = RunBareWindow();
    result.limits.push_back(limit);
    result.installs.push_back(install);
    bare_starts.push_back(bare);
    PrintRound(round + 1, limit, install, bare);
  }
  places.Clear();
  return result;
}

void PrintSummary(const std::vector<SizeResult>& results, const std::vector<StartFigures>& bare_starts,
                  const std::wstring& stripped) {
  std::printf(
      "\n| package | limit s | Install.exe s | ratio | Install.exe peak WS MB | rounds ok |\n"
      "|---|---|---|---|---|---|\n");
  for (const SizeResult& r : results) {
    const Spread limit = Over(r.limits, &LimitTotal);
    const Spread install = Over(r.installs, &InstallFigures::total);
    int ok = 0;
    for (std::size_t i = 0; i < r.installs.size(); ++i) ok += r.installs[i].ok && r.limits[i].ok;
    std::printf("| %ld MB (%.1f) | %s | %s | %.2f | %s | %d/%zu |\n", r.size_mb, r.package_bytes / kMB,
                Show(limit, 1, 2).c_str(), Show(install, 1, 2).c_str(),
                limit.median > 0 ? install.median / limit.median : 0.0,
                Show(Over(r.installs, &InstallFigures::peak_ws), 1 / kMB, 1).c_str(), ok, r.installs.size());
  }
  std::printf(
      "\nMedian seconds of each step (Install.exe from its log; the limit from its own clock):\n\n"
      "| package | handled | download (transfer) | signature | verify | unpack | register | shown | limit download | "
      "limit unpack |\n|---|---|---|---|---|---|---|---|---|---|\n");
  for (const SizeResult& r : results) {
    auto median = [&](double InstallFigures::*figure) { return Over(r.installs, figure).median; };
    std::printf("| %ld MB | %.3f | %.3f (%.3f) | %.3f | %.3f | %.3f | %.3f | %.3f | %.3f | %.3f |\n", r.size_mb,
                median(&InstallFigures::handled), median(&InstallFigures::download), median(&InstallFigures::transfer),
                median(&InstallFigures::signature), median(&InstallFigures::verify), median(&InstallFigures::unpack), median(&InstallFigures::registration),
                median(&InstallFigures::shown), Over(r.limits, &LimitFigures::download).median,
                Over(r.limits, &LimitFigures::unpack).median);
  }
  std::printf(
      "\nInstall.exe working set, MB (medians):\n\n| package | start page (peak so far) | after download | after unpack | "
      "peak |\n|---|---|---|---|---|\n");
  for (const SizeResult& r : results) {
    auto median = [&](double InstallFigures::*figure) { return Over(r.installs, figure).median / kMB; };
    std::printf("| %ld MB | %.1f | %.1f | %.1f | %.1f |\n", r.size_mb, median(&InstallFigures::ws_start),
                median(&InstallFigures::ws_downloaded), median(&InstallFigures::ws_unpacked),
                median(&InstallFigures::peak_ws));
  }
  std::vector<InstallFigures> installs;
  for (const SizeResult& r : results) installs.insert(installs.end(), r.installs.begin(), r.installs.end());
  const Spread installer_paint = Over(installs, &InstallFigures::first_paint);
  const Spread bare_paint = Over(bare_starts, &StartFigures::first_paint);
  std::printf(
      "\n| start-up | window built ms | first paint ms | peak WS MB on the start page | rounds |\n"
      "|---|---|---|---|---|\n");
  std::printf("| bare window | | %s | %s | %zu |\n", Show(bare_paint, 1000, 0).c_str(),
              Show(Over(bare_starts, &StartFigures::peak_ws), 1 / kMB, 1).c_str(), bare_starts.size());
  std::printf("| Install.exe | %s | %s | %s | %zu |\n", Show(Over(installs, &InstallFigures::built), 1000, 0).c_str(),
              Show(installer_paint, 1000, 0).c_str(),
              Show(Over(installs, &InstallFigures::ws_start), 1 / kMB, 1).c_str(), installs.size());
  std::printf("\nFirst paint of Install.exe over the bare window: %+.0f ms (medians)\n",
              (installer_paint.median - bare_paint.median) * 1000);
  std::printf("Install.exe: %lld bytes as built, %lld bytes stripped\n",
              FileSize(vexo::test::InstallerPath()), FileSize(stripped));
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 6) {
    std::fprintf(stderr, "usage: installer_bench SERVED_FILE PACKAGE_DIR STRIPPED_INSTALLER ROUNDS SIZE_MB...\n");
    return 2;
  }
  const std::wstring served = argv[1];
  const std::wstring package_dir = argv[2];
  const std::wstring stripped = argv[3];
  const int rounds = std::max(1, static_cast<int>(std::wcstol(argv[4], nullptr, 10)));
  Places places;
  places.install_folder = vexo::test::DefaultInstallFolder();
  wchar_t temp[MAX_PATH] = {};
  ::GetTempPathW(MAX_PATH, temp);
  places.temp_folder = temp;
  if (places.install_folder.empty()) {
    std::fprintf(stderr, "installer_bench: no program files folder in the registry\n");
    return 1;
  }

  std::printf("Install.exe against the limit (libcurl download to a file, then 7z.exe x), %d rounds a size\n", rounds);
  // One untimed start of each program loads what wine caches between processes.
  RunBareWindow();
  {
    vexo::test::InstallerDriver warm = StartInstaller();
    warm.Click(Element::kClose);
    warm.WaitForExit();
  }
  std::vector<SizeResult> results;
  std::vector<StartFigures> bare_starts;
  for (int i = 5; i < argc; ++i) {
    results.push_back(RunSize(std::wcstol(argv[i], nullptr, 10), served, package_dir, rounds, places, bare_starts));
  }
  ::DeleteFileW(served.c_str());
  ::DeleteFileW((served + L".sig").c_str());
  PrintSummary(results, bare_starts, stripped);
  // A size without a single valid round has no figures: the run failed, whatever the tables show.
  for (const SizeResult& r : results) {
    bool any = false;
    for (std::size_t i = 0; i < r.installs.size(); ++i) any = any || (r.installs[i].ok && r.limits[i].ok);
    if (!any) {
      std::fprintf(stderr, "installer_bench: no valid round for the %ld MB package\n", r.size_mb);
      return 1;
    }
  }
  return 0;
}
