// A console program that checks one package signature with the test key in a process of its own and prints
// "<check> <working set before> <peak working set after>" (the check's number, then bytes), so that a test
// can see how much memory the check needed.
//   signature_probe PACKAGE SIGNATURE
#include <windows.h>

#include <psapi.h>

#include <cstdint>
#include <cstdio>
#include <vector>

#include "app/phases/signature.h"
#include "tests/app/test_package_key.h"

namespace {

bool ReadCounters(PROCESS_MEMORY_COUNTERS& counters) {
  counters = {};
  counters.cb = sizeof(counters);
  return ::GetProcessMemoryInfo(::GetCurrentProcess(), &counters, sizeof(counters)) != 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 3) return 2;
  const std::vector<std::uint8_t> key = {VEXO_TEST_PACKAGE_PUBLIC_KEY_BYTES};
  PROCESS_MEMORY_COUNTERS before;
  if (!ReadCounters(before)) return 3;
  const auto check = vexo::app::VerifyPackageSignature(CWString(argv[1]), CWString(argv[2]), key);
  PROCESS_MEMORY_COUNTERS after;
  if (!ReadCounters(after)) return 3;
  std::printf("%d %llu %llu\n", static_cast<int>(check), static_cast<unsigned long long>(before.WorkingSetSize),
              static_cast<unsigned long long>(after.PeakWorkingSetSize));
  return 0;
}
