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

double SecondsOfDay(const SYSTEMTIME& time) {
  return time.wHour * 3600.0 + time.wMinute * 60.0 + time.wSecond + time.wMilliseconds / 1000.0;
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
    int hour = 0, minute = 0, second = 0, millisecond = 0, text_at = 0;
    if (std::sscanf(line.c_str(), "%*d-%*d-%*d %d:%d:%d.%d  %n", &hour, &minute, &second, &millisecond, &text_at) !=
            4 ||
        text_at == 0) {
      continue;
    }
    const char* text = line.c_str() + text_at;
    const double moment = hour * 3600.0 + minute * 60.0 + second + millisecond / 1000.0;
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
