// A large download through a file sink: every byte reaches the file while the process's memory stays flat.
// It runs in a test process of its own, so that the peak working set it reads is this download's alone.
// libcurl's headers bring winsock2.h, which must come before windows.h.
#include "net/net_access.h"

#include <gtest/gtest.h>
#include <psapi.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include "net/file_sink.h"
#include "tests/net/test_server_urls.h"

namespace rg_Pelor_ShiChuang_WangLao {
namespace {

constexpr std::int64_t kBodyBytes = 300 * 1000 * 1000;
constexpr std::size_t kMaxPeakGrowth = 64 * 1024 * 1024;

std::size_t PeakWorkingSet() {
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof(counters);
  ::GetProcessMemoryInfo(::GetCurrentProcess(), &counters, sizeof(counters));
  return counters.PeakWorkingSetSize;
}

// The offset of the first byte of the file at `path` that differs from the server's pattern, or the file's
// size when none does; -1 when it cannot be read.
std::int64_t FirstDifferenceFromPattern(const std::wstring& path) {
  std::FILE* file = ::_wfopen(path.c_str(), L"rb");
  if (file == nullptr) return -1;
  std::string piece(1024 * 1024, '\0');
  std::int64_t offset = 0;
  std::size_t got = 0;
  while ((got = std::fread(piece.data(), 1, piece.size(), file)) > 0) {
    const std::string expected = vexo::test::PatternBytes(static_cast<std::size_t>(offset),
                                                          static_cast<std::size_t>(offset) + got);
    for (std::size_t i = 0; i < got; ++i) {
      if (piece[i] != expected[i]) {
        std::fclose(file);
        return offset + static_cast<std::int64_t>(i);
      }
    }
    offset += static_cast<std::int64_t>(got);
  }
  std::fclose(file);
  return offset;
}

TEST(DownloadToFile, ThreeHundredMegabytesArriveWholeWithFlatMemory) {
  ASSERT_TRUE(vexo::test::ServerIsRunning()) << "ctest starts the server (fixture net_http)";
  wchar_t folder[MAX_PATH] = {};
  ::GetTempPathW(MAX_PATH, folder);
  const std::wstring path = std::wstring(folder) + L"vexo_download_to_file_test.bin";
  const std::string url = vexo::test::ServerUrl("http", "/bytes/" + std::to_string(kBodyBytes));

  const std::size_t peak_before = PeakWorkingSet();
  rg_WangLaoFangWenLei net;
  vexo::net::FileSink sink(path.c_str());
  ASSERT_TRUE(sink.ok());
  const CWString none;
  rg_WangYeFangWenXiangYingLei response =
      net.WebAccess(CWString(std::wstring(url.begin(), url.end()).c_str()), CWString(L"GET"),
                    MakeNullObject<CPelMem>(), MakeNullObject<rg_Pelor_JiBen::rg_WenBenShuZuLei>(), none, none,
                    none, none, none, &sink);
  const bool finished = sink.Finish();
  const std::size_t peak_growth = PeakWorkingSet() - peak_before;

  EXPECT_EQ(response.GetStatusCode(), 200);
  EXPECT_TRUE(finished);
  EXPECT_EQ(sink.bytes(), kBodyBytes);
  EXPECT_EQ(response.GetBody().GetLength(), 0);
  EXPECT_LT(peak_growth, kMaxPeakGrowth) << "the peak working set grew by " << peak_growth << " bytes";
  EXPECT_EQ(FirstDifferenceFromPattern(path), kBodyBytes);
  ::DeleteFileW(path.c_str());
}

}  // namespace
}  // namespace rg_Pelor_ShiChuang_WangLao
