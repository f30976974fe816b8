#include "bench/installer/install_log_steps.h"

#include <cstdio>
#include <cstring>

namespace vexo::bench {

namespace {

struct StepRule {
  const char* prefix;
  double InstallLogSteps::*moment;
};

constexpr StepRule kSteps[] = {
    {"start: ", &InstallLogSteps::started},
    {"install: into ", &InstallLogSteps::clicked},
    {"download: none -> ", &InstallLogSteps::downloaded},
    {"signature: ", &InstallLogSteps::signature},
    {"verify: ", &InstallLogSteps::verified},
    {"unpack: ", &InstallLogSteps::unpacked},
    {"outcome: ", &InstallLogSteps::finished},
};
constexpr std::size_t kStepCount = sizeof(kSteps) / sizeof(kSteps[0]);
constexpr std::size_t kPackageStep = 2;
constexpr std::size_t kSignatureStep = 3;

}  // namespace

double LogSeconds(const SYSTEMTIME& time) {
  FILETIME file_time{};
  if (!::SystemTimeToFileTime(&time, &file_time)) return 0;
  const ULONGLONG ticks = (static_cast<ULONGLONG>(file_time.dwHighDateTime) << 32) | file_time.dwLowDateTime;
  return static_cast<double>(ticks / 10000) / 1000.0;
}

InstallLogSteps ReadInstallLogSteps(const std::string& log) {
  InstallLogSteps steps;
  std::size_t line_start = 0;
  bool found[kStepCount] = {};
  while (line_start < log.size()) {
    std::size_t line_end = log.find('\n', line_start);
    if (line_end == std::string::npos) line_end = log.size();
    const std::string line = log.substr(line_start, line_end - line_start);
    line_start = line_end + 1;
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0, millisecond = 0, text_at = 0;
    if (std::sscanf(line.c_str(), "%d-%d-%d %d:%d:%d.%d  %n", &year, &month, &day, &hour, &minute, &second,
                    &millisecond, &text_at) != 7 ||
        text_at == 0) {
      continue;
    }
    const char* text = line.c_str() + text_at;
    SYSTEMTIME stamp{};
    stamp.wYear = static_cast<WORD>(year);
    stamp.wMonth = static_cast<WORD>(month);
    stamp.wDay = static_cast<WORD>(day);
    stamp.wHour = static_cast<WORD>(hour);
    stamp.wMinute = static_cast<WORD>(minute);
    stamp.wSecond = static_cast<WORD>(second);
    stamp.wMilliseconds = static_cast<WORD>(millisecond);
    const double moment = LogSeconds(stamp);
    // Download lines after the package is in place are the signature file's.
    const bool package_in_place = found[kPackageStep];
    for (std::size_t i = 0; i < kStepCount; ++i) {
      if (std::strncmp(text, kSteps[i].prefix, std::strlen(kSteps[i].prefix)) != 0) continue;
      if (i == kPackageStep && package_in_place) continue;
      steps.*kSteps[i].moment = moment;
      found[i] = true;
    }
    long long bytes = 0;
    int transfer_ms = 0;
    // Installers built before automatic retries wrote one "download: status 200, N bytes, M ms" line.
    if (!package_in_place &&
        (std::sscanf(text, "download: attempt from byte %*d: status %*d (HTTP %*d), libcurl result %*d, %lld bytes, %d ms",
                     &bytes, &transfer_ms) == 2 ||
         std::sscanf(text, "download: status 200, %lld bytes, %d ms", &bytes, &transfer_ms) == 2)) {
      steps.transfer_ms += transfer_ms;
      steps.bytes += bytes;
    }
  }
  if (!found[kSignatureStep]) {
    steps.signature = steps.downloaded;
    found[kSignatureStep] = true;
  }
  steps.complete = true;
  for (bool step : found) steps.complete = steps.complete && step;
  return steps;
}

}  // namespace vexo::bench
