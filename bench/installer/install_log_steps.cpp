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
    {"verify: ", &InstallLogSteps::verified},
    {"unpack: ", &InstallLogSteps::unpacked},
    {"outcome: ", &InstallLogSteps::finished},
};

}  // namespace

double SecondsOfDay(const SYSTEMTIME& time) {
  return time.wHour * 3600.0 + time.wMinute * 60.0 + time.wSecond + time.wMilliseconds / 1000.0;
}

InstallLogSteps ReadInstallLogSteps(const std::string& log) {
  InstallLogSteps steps;
  std::size_t line_start = 0;
  int found[sizeof(kSteps) / sizeof(kSteps[0])] = {};
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
    for (std::size_t i = 0; i < sizeof(kSteps) / sizeof(kSteps[0]); ++i) {
      if (std::strncmp(text, kSteps[i].prefix, std::strlen(kSteps[i].prefix)) != 0) continue;
      steps.*kSteps[i].moment = moment;
      found[i] = 1;
    }
    long long bytes = 0;
    int transfer_ms = 0;
    if (std::sscanf(text, "download: status 200, %lld bytes, %d ms", &bytes, &transfer_ms) == 2) {
      steps.transfer_ms = transfer_ms;
      steps.bytes = bytes;
    }
  }
  steps.complete = true;
  for (int step : found) steps.complete = steps.complete && step != 0;
  return steps;
}

}  // namespace vexo::bench
