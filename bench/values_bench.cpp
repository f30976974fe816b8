// The runtime's values against the standard library: CWString appends, Concat, Replace and Format against
// std::wstring; a large body appended to CPelMem in 16 KiB pieces against std::vector<char>, with wall
// time, peak memory and reallocations. Usage: values_bench [text | body [megabytes]]; no argument runs both.
// Each body case runs in a child process of its own, so that its peak memory is its own.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <string>
#include <vector>

#include "runtime/pel_mem.h"
#include "runtime/w_string.h"
#include "runtime/win/scoped_handles.h"
#include "runtime/win/windows_api.h"

#include <psapi.h>

namespace {

constexpr int kRepeats = 3;
constexpr std::int32_t kPieceSize = 16 * 1024;
constexpr int kDefaultBodyMegabytes = 100;

// Keeps the compiler from dropping work whose result is otherwise unused.
volatile std::size_t g_sink = 0;

double Now() {
  LARGE_INTEGER frequency;
  LARGE_INTEGER counter;
  ::QueryPerformanceFrequency(&frequency);
  ::QueryPerformanceCounter(&counter);
  return static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// Best of kRepeats runs of `work`, in nanoseconds per operation.
template <class Work>
double BestNanosecondsPerOp(long operations, Work work) {
  double best = 1e30;
  for (int run = 0; run < kRepeats; ++run) {
    const double start = Now();
    work();
    best = std::min(best, Now() - start);
  }
  return best * 1e9 / static_cast<double>(operations);
}

void PrintRow(const char* operation, long operations, double ours, double standard) {
  std::printf("| %s | %ld | %.1f | %.1f | %.2f |\n", operation, operations, ours, standard, ours / standard);
}

const wchar_t* const kPieces[] = {L"ab", L"cde", L"f", L"ghij", L"k\\l", L"中文", L"mnopq"};
constexpr int kPieceCount = sizeof(kPieces) / sizeof(kPieces[0]);

void RunTextBenchmarks() {
  std::printf("| operation | operations | CWString ns/op | std::wstring ns/op | ratio |\n|---|---|---|---|---|\n");

  // A path-sized text built from five pieces, as the installer builds its paths.
  constexpr long kTexts = 200000;
  PrintRow("new text + 5 short pieces", kTexts,
           BestNanosecondsPerOp(kTexts, [] {
             for (long i = 0; i < kTexts; ++i) {
               CWString text;
               for (int j = 0; j < 5; ++j) text.Append(kPieces[(i + j) % kPieceCount]);
               g_sink += static_cast<std::size_t>(text.GetLength());
             }
           }),
           BestNanosecondsPerOp(kTexts, [] {
             for (long i = 0; i < kTexts; ++i) {
               std::wstring text;
               for (int j = 0; j < 5; ++j) text.append(kPieces[(i + j) % kPieceCount]);
               g_sink += text.size();
             }
           }));

  // One text growing to about 3.4 million units: the 254-byte step reallocates every ~40 appends.
  constexpr long kAppends = 1000000;
  PrintRow("1,000,000 short pieces onto one text", kAppends,
           BestNanosecondsPerOp(kAppends, [] {
             CWString text;
             for (long i = 0; i < kAppends; ++i) text.Append(kPieces[i % kPieceCount]);
             g_sink += static_cast<std::size_t>(text.GetLength());
           }),
           BestNanosecondsPerOp(kAppends, [] {
             std::wstring text;
             for (long i = 0; i < kAppends; ++i) text.append(kPieces[i % kPieceCount]);
             g_sink += text.size();
           }));

  constexpr long kConcats = 300000;
  const CWString left(L"C:\\Program Files (x86)\\");
  const CWString right(L"VexoProxy\\VexoClient.exe");
  const std::wstring std_left = left.GetText();
  const std::wstring std_right = right.GetText();
  PrintRow("Concat of two 24-unit texts", kConcats,
           BestNanosecondsPerOp(kConcats, [&] {
             for (long i = 0; i < kConcats; ++i) g_sink += CWString::Concat(left, right).GetBuffer().GetLength();
           }),
           BestNanosecondsPerOp(kConcats, [&] {
             for (long i = 0; i < kConcats; ++i) g_sink += (std_left + std_right).size();
           }));

  // 100,000 units with "ab" every 10 units; every one becomes "xyz" (the text grows by 10,000 units).
  std::wstring source;
  for (int i = 0; i < 10000; ++i) source += L"ab34567890";
  constexpr long kReplaceRuns = 20;
  PrintRow("Replace all 10,000 \"ab\" by \"xyz\" in 100,000 units", kReplaceRuns,
           BestNanosecondsPerOp(kReplaceRuns, [&] {
             for (long i = 0; i < kReplaceRuns; ++i) {
               CWString text(source.c_str());
               text.Replace(L"ab", L"xyz", 0, 0);
               g_sink += static_cast<std::size_t>(text.GetLength());
             }
           }),
           BestNanosecondsPerOp(kReplaceRuns, [&] {
             for (long i = 0; i < kReplaceRuns; ++i) {
               std::wstring text = source;
               for (std::size_t at = text.find(L"ab"); at != std::wstring::npos; at = text.find(L"ab", at + 3)) {
                 text.replace(at, 2, L"xyz");
               }
               g_sink += text.size();
             }
           }));

  constexpr long kFormats = 200000;
  PrintRow("Format \"%s\\\\%s_%d.%s\"", kFormats,
           BestNanosecondsPerOp(kFormats, [] {
             CWString text;
             for (long i = 0; i < kFormats; ++i) {
               text.Format(L"%s\\%s_%d.%s", L"C:\\Users\\Public\\Desktop", L"Vexo助手", static_cast<int>(i), L"lnk");
               g_sink += static_cast<std::size_t>(text.GetLength());
             }
           }),
           BestNanosecondsPerOp(kFormats, [] {
             std::wstring text;
             wchar_t formatted[256];
             for (long i = 0; i < kFormats; ++i) {
               const int length = std::swprintf(formatted, 256, L"%ls\\%ls_%d.%ls", L"C:\\Users\\Public\\Desktop",
                                                L"Vexo助手", static_cast<int>(i), L"lnk");
               text.assign(formatted, static_cast<std::size_t>(std::max(length, 0)));
               g_sink += text.size();
             }
           }));
}

// The process's peak working set so far, in bytes.
SIZE_T PeakWorkingSet() {
  PROCESS_MEMORY_COUNTERS counters = {};
  counters.cb = sizeof(counters);
  ::GetProcessMemoryInfo(::GetCurrentProcess(), &counters, sizeof(counters));
  return counters.PeakWorkingSetSize;
}

// What a body sink does: append 16 KiB pieces; report how often its storage was reallocated and moved.
struct PelMemSink {
  explicit PelMemSink(std::int32_t step) { buffer.SetStep(step); }
  void Append(const char* piece) {
    const std::int32_t capacity = buffer.GetCapacity();
    const void* before = buffer.GetData();
    buffer.Append(piece, kPieceSize);
    if (buffer.GetCapacity() != capacity) ++reallocations;
    if (before != nullptr && buffer.GetData() != before) ++moves;
  }
  std::size_t Size() const { return static_cast<std::size_t>(buffer.GetLength()); }
  CPelMem buffer;
  long reallocations = 0;
  long moves = 0;
};

struct VectorSink {
  void Append(const char* piece) {
    const std::size_t capacity = body.capacity();
    const void* before = body.data();
    body.insert(body.end(), piece, piece + kPieceSize);
    if (body.capacity() != capacity) ++reallocations;
    if (before != nullptr && body.data() != before) ++moves;
  }
  std::size_t Size() const { return body.size(); }
  std::vector<char> body;
  long reallocations = 0;
  long moves = 0;
};

// Appends `megabytes` MiB in 16 KiB pieces; prints wall time at each quarter, so that a cost growing with
// the size already held shows as later quarters taking longer than earlier ones.
template <class Sink>
void AppendBody(const char* name, Sink& sink, int megabytes) {
  std::vector<char> piece(kPieceSize);
  for (int i = 0; i < kPieceSize; ++i) piece[i] = static_cast<char>(i * 7);
  const long pieces = static_cast<long>(megabytes) * 1024 * 1024 / kPieceSize;
  const SIZE_T peak_before = PeakWorkingSet();
  double quarter_seconds[4] = {};
  const double start = Now();
  double quarter_start = start;
  for (long i = 0; i < pieces; ++i) {
    sink.Append(piece.data());
    if ((i + 1) % (pieces / 4) == 0 && (i + 1) / (pieces / 4) <= 4) {
      const double now = Now();
      quarter_seconds[(i + 1) / (pieces / 4) - 1] = now - quarter_start;
      quarter_start = now;
    }
  }
  const double seconds = Now() - start;
  const SIZE_T peak_after = PeakWorkingSet();
  g_sink += sink.Size();
  std::printf("| %s | %d | %.3f | %.3f / %.3f / %.3f / %.3f | %.1f | %ld | %ld |\n", name, megabytes, seconds,
              quarter_seconds[0], quarter_seconds[1], quarter_seconds[2], quarter_seconds[3],
              static_cast<double>(peak_after - peak_before) / 1048576.0, sink.reallocations, sink.moves);
  std::fflush(stdout);
}

int RunBodyCase(const char* which, int megabytes) {
  if (std::strcmp(which, "pelmem") == 0) {
    PelMemSink sink(CPelMem::kDefaultStep);
    AppendBody("CPelMem, step 64", sink, megabytes);
  } else if (std::strcmp(which, "pelmem-1m") == 0) {
    PelMemSink sink(1024 * 1024);
    AppendBody("CPelMem, step 1 MiB", sink, megabytes);
  } else if (std::strcmp(which, "vector") == 0) {
    VectorSink sink;
    AppendBody("std::vector<char>", sink, megabytes);
  } else {
    return 2;
  }
  return 0;
}

// Runs this program again as `values_bench body-case <which> <megabytes>`, sharing the console output.
void RunBodyChild(const char* which, int megabytes) {
  wchar_t program[MAX_PATH] = {};
  ::GetModuleFileNameW(nullptr, program, MAX_PATH);
  wchar_t command_line[MAX_PATH + 64];
  std::swprintf(command_line, MAX_PATH + 64, L"\"%ls\" body-case %hs %d", program, which, megabytes);
  STARTUPINFOW startup = {};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = ::GetStdHandle(STD_INPUT_HANDLE);
  startup.hStdOutput = ::GetStdHandle(STD_OUTPUT_HANDLE);
  startup.hStdError = ::GetStdHandle(STD_ERROR_HANDLE);
  PROCESS_INFORMATION info = {};
  std::fflush(stdout);
  if (!::CreateProcessW(program, command_line, nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &info)) {
    std::printf("| %s | could not start the child process |\n", which);
    return;
  }
  vexo::win::ScopedHandle process(info.hProcess);
  vexo::win::ScopedHandle thread(info.hThread);
  ::WaitForSingleObject(process.get(), INFINITE);
}

void RunBodyBenchmarks(int megabytes) {
  std::printf("\n| sink | MiB | seconds | seconds per quarter | peak working set growth MiB | reallocations "
              "| moves |\n|---|---|---|---|---|---|---|\n");
  for (const char* which : {"vector", "pelmem-1m", "pelmem"}) RunBodyChild(which, megabytes);
}

}  // namespace

int main(int argc, char** argv) {
  const char* mode = argc > 1 ? argv[1] : "";
  if (std::strcmp(mode, "body-case") == 0 && argc > 3) return RunBodyCase(argv[2], std::atoi(argv[3]));
  const int megabytes = argc > 2 ? std::max(4, std::atoi(argv[2])) : kDefaultBodyMegabytes;
  if (mode[0] == '\0' || std::strcmp(mode, "text") == 0) RunTextBenchmarks();
  if (mode[0] == '\0' || std::strcmp(mode, "body") == 0) RunBodyBenchmarks(megabytes);
  return g_sink == 0 ? 1 : 0;
}
