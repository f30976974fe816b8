// Download speed and memory of the network engine against plain libcurl, over the loopback HTTPS test
// server. Each case runs in a child process of its own so that its peak working set is its own.
//
//   net_bench STATE_DIR CA_FILE [MB...]      runs every case for bodies of the given sizes (default 100 300)
//   net_bench --case VARIANT URL CA_FILE     one download; prints "bytes seconds baseline_ws peak_ws ok"
//
// STATE_DIR is the test server's state folder (its ports file names the "trusted" listener).
#include <windows.h>

#include <psapi.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "bench/net/bench_cases.h"
#include "net/curl_global.h"
#include "runtime/win/scoped_handles.h"
#include "tests/support/test_server.h"

namespace {

constexpr int kRounds = 5;
constexpr double kMB = 1e6;

struct CaseResult {
  bool ok = false;
  double bytes = 0;
  double seconds = 0;
  double baseline_ws = 0;
  double peak_ws = 0;
};

std::wstring Widen(const std::string& text) { return std::wstring(text.begin(), text.end()); }

std::string Quote(const std::string& text) { return "\"" + text + "\""; }

// Runs this program with `arguments` and parses the result line it prints.
CaseResult RunChild(const std::string& arguments) {
  CaseResult result;
  wchar_t self[MAX_PATH];
  if (::GetModuleFileNameW(nullptr, self, MAX_PATH) == 0) return result;
  SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
  HANDLE read_raw = nullptr;
  HANDLE write_raw = nullptr;
  if (!::CreatePipe(&read_raw, &write_raw, &inherit, 0)) return result;
  vexo::win::ScopedHandle read_end(read_raw);
  vexo::win::ScopedHandle write_end(write_raw);
  ::SetHandleInformation(read_end.get(), HANDLE_FLAG_INHERIT, 0);

  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = ::GetStdHandle(STD_INPUT_HANDLE);
  startup.hStdOutput = write_end.get();
  startup.hStdError = ::GetStdHandle(STD_ERROR_HANDLE);
  std::wstring command = L"\"" + std::wstring(self) + L"\" " + Widen(arguments);
  PROCESS_INFORMATION process{};
  if (!::CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup,
                        &process)) {
    return result;
  }
  vexo::win::ScopedHandle process_handle(process.hProcess);
  vexo::win::ScopedHandle thread_handle(process.hThread);
  write_end.reset();

  std::string output;
  char chunk[512];
  DWORD got = 0;
  while (::ReadFile(read_end.get(), chunk, sizeof(chunk), &got, nullptr) && got > 0) output.append(chunk, got);
  ::WaitForSingleObject(process_handle.get(), INFINITE);

  int ok = 0;
  if (std::sscanf(output.c_str(), "%lf %lf %lf %lf %d", &result.bytes, &result.seconds, &result.baseline_ws,
                  &result.peak_ws, &ok) == 5) {
    result.ok = ok != 0;
  }
  if (!result.ok) std::fprintf(stderr, "case failed: %s\n%s\n", arguments.c_str(), output.c_str());
  return result;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values.empty() ? 0 : values[values.size() / 2];
}

struct Summary {
  double seconds = 0;
  double peak_ws = 0;
  double growth = 0;  // peak working set above the working set just before the download
  int failures = 0;
};

int RunAll(const std::wstring& state_dir, const std::string& ca_file, const std::vector<long>& sizes_mb) {
  std::map<std::string, long> ports = vexo::test::ReadServerPorts(state_dir);
  if (ports.count("trusted") == 0) {
    std::fprintf(stderr, "net_bench: the test server is not running (no ports file in the state folder)\n");
    return 2;
  }
  std::printf("Loopback HTTPS downloads under wine, median of %d rounds (cases alternate). Peak WS: the case's\n"
              "peak working set; growth: that peak less the working set before the download; limit: body x 1.1 +\n"
              "16 MB. MB = 10^6 bytes.\n",
              kRounds);
  std::printf("%-9s %-10s %9s %9s %10s %10s %10s\n", "body MB", "variant", "time s", "MB/s", "peak WS", "growth",
              "limit");
  for (long mb : sizes_mb) {
    std::string url = "https://localhost:" + std::to_string(ports["trusted"]) + "/bytes/" +
                      std::to_string(static_cast<long long>(mb) * 1000000);
    std::vector<Summary> summaries(vexo::bench::kVariantCount);
    std::vector<std::vector<CaseResult>> runs(vexo::bench::kVariantCount);
    for (int round = 0; round < kRounds; ++round) {
      for (int v = 0; v < vexo::bench::kVariantCount; ++v) {
        runs[v].push_back(RunChild("--case " + std::string(vexo::bench::VariantName(v)) + " " + Quote(url) + " " +
                                   Quote(ca_file)));
      }
    }
    double body = mb * kMB;
    for (int v = 0; v < vexo::bench::kVariantCount; ++v) {
      std::vector<double> seconds, peaks, growths;
      int failures = 0;
      for (const CaseResult& run : runs[v]) {
        if (!run.ok || run.bytes != body) {
          ++failures;
          continue;
        }
        seconds.push_back(run.seconds);
        peaks.push_back(run.peak_ws);
        growths.push_back(run.peak_ws - run.baseline_ws);
      }
      summaries[v] = {Median(seconds), Median(peaks), Median(growths), failures};
      const Summary& s = summaries[v];
      if (seconds.empty()) {
        std::printf("%-9ld %-10s failed in every round\n", mb, vexo::bench::VariantName(v));
        continue;
      }
      std::printf("%-9ld %-10s %9.2f %9.1f %9.1fM %9.1fM %9.1fM   rounds:", mb, vexo::bench::VariantName(v),
                  s.seconds, mb / s.seconds, s.peak_ws / kMB, s.growth / kMB, (body * 1.1 + 16 * kMB) / kMB);
      for (double round_seconds : seconds) std::printf(" %.2f", round_seconds);
      std::printf("%s\n", s.failures ? "  (some rounds failed)" : "");
    }
    const Summary& plain = summaries[vexo::bench::kPlain];
    for (int v = vexo::bench::kPlain + 1; v < vexo::bench::kVariantCount; ++v) {
      const Summary& s = summaries[v];
      if (s.seconds <= 0 || plain.seconds <= 0) continue;
      std::printf("%-9ld %-10s time x%.3f, peak WS x%.3f, growth x%.3f of %s\n", mb, vexo::bench::VariantName(v),
                  s.seconds / plain.seconds, s.peak_ws / plain.peak_ws, s.growth / plain.growth,
                  vexo::bench::VariantName(vexo::bench::kPlain));
    }
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 5 && std::strcmp(argv[1], "--case") == 0) {
    int variant = vexo::bench::VariantByName(argv[2]);
    if (variant < 0) return 2;
    if (!vexo::net::IsCurlReady()) return 2;
    vexo::bench::CaseFigures figures = vexo::bench::RunCase(variant, argv[3], argv[4]);
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof(counters);
    ::GetProcessMemoryInfo(::GetCurrentProcess(), &counters, sizeof(counters));
    std::printf("%.0f %.6f %.0f %.0f %d\n", static_cast<double>(figures.bytes), figures.seconds,
                static_cast<double>(figures.baseline_ws), static_cast<double>(counters.PeakWorkingSetSize),
                figures.ok ? 1 : 0);
    std::fflush(stdout);
    return figures.ok ? 0 : 1;
  }
  if (argc < 3) {
    std::fprintf(stderr, "usage: net_bench STATE_DIR CA_FILE [MB...]\n");
    return 2;
  }
  std::vector<long> sizes;
  for (int i = 3; i < argc; ++i) sizes.push_back(std::strtol(argv[i], nullptr, 10));
  if (sizes.empty()) sizes = {100, 300};
  return RunAll(Widen(argv[1]), argv[2], sizes);
}
