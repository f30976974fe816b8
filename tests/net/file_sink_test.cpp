// The file sink: every consumed byte reaches the file in order across its buffer's edges, a file it cannot
// open or a finished file refuses bytes, and the file is closed on every path.
#include "net/file_sink.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "runtime/win/scoped_handles.h"
#include "tests/net/test_server_urls.h"

namespace vexo::net {
namespace {

std::wstring TempPath(const wchar_t* name) {
  wchar_t folder[MAX_PATH] = {};
  ::GetTempPathW(MAX_PATH, folder);
  return std::wstring(folder) + name;
}

std::string FileBytes(const std::wstring& path) {
  std::string bytes;
  std::FILE* file = ::_wfopen(path.c_str(), L"rb");
  if (file == nullptr) return "<missing>";
  char piece[65536];
  std::size_t got = 0;
  while ((got = std::fread(piece, 1, sizeof(piece), file)) > 0) bytes.append(piece, got);
  std::fclose(file);
  return bytes;
}

// Whether nothing holds the file open any more: it can be opened without sharing.
bool NothingHoldsOpen(const std::wstring& path) {
  win::ScopedHandle file(::CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                       FILE_ATTRIBUTE_NORMAL, nullptr));
  return file.is_valid();
}

class FileSinkTest : public ::testing::Test {
 protected:
  void TearDown() override { ::DeleteFileW(path_.c_str()); }
  const std::wstring path_ = TempPath(L"vexo_file_sink_test.bin");
};

TEST_F(FileSinkTest, BlocksOfEverySizeReachTheFileInOrder) {
  const std::size_t buffer = FileSink::kBufferSize;
  const struct {
    const char* what;
    std::vector<std::size_t> blocks;
  } cases[] = {
      {"small blocks", {1, 16384, 7, 1000}},
      {"filling the buffer exactly, then once more", {buffer - 1, 1, buffer, 1}},
      {"crossing the buffer's edge", {buffer - 10, 20, buffer - 5, 30}},
      {"a large block after buffered bytes", {5, 3 * buffer + 5, 7}},
      {"nothing", {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    std::string expected;
    FileSink sink(path_.c_str());
    ASSERT_TRUE(sink.ok());
    for (std::size_t size : c.blocks) {
      const std::string block = test::PatternBytes(expected.size(), expected.size() + size);
      EXPECT_TRUE(sink.Consume(block.data(), block.size()));
      expected += block;
    }
    EXPECT_EQ(sink.bytes(), static_cast<std::int64_t>(expected.size()));
    EXPECT_TRUE(sink.Finish());
    EXPECT_TRUE(sink.ok());
    EXPECT_TRUE(FileBytes(path_) == expected) << FileBytes(path_).size() << " bytes in the file";
  }
}

TEST_F(FileSinkTest, AnExistingFileIsTruncated) {
  {
    FileSink longer(path_.c_str());
    longer.Consume("a longer earlier content", 24);
    ASSERT_TRUE(longer.Finish());
  }
  FileSink sink(path_.c_str());
  EXPECT_TRUE(sink.Consume("new", 3));
  EXPECT_TRUE(sink.Finish());
  EXPECT_EQ(FileBytes(path_), "new");
}

TEST_F(FileSinkTest, AFileThatCannotBeOpenedRefusesEverything) {
  const std::wstring missing_folder = TempPath(L"vexo_no_such_folder\\file.bin");
  wchar_t folder[MAX_PATH] = {};
  ::GetTempPathW(MAX_PATH, folder);
  const wchar_t* paths[] = {nullptr, L"", missing_folder.c_str(), folder};
  for (const wchar_t* path : paths) {
    SCOPED_TRACE(path == nullptr ? L"null" : path);
    FileSink sink(path);
    EXPECT_FALSE(sink.ok());
    EXPECT_FALSE(sink.Consume("abc", 3));
    EXPECT_EQ(sink.bytes(), 0);
    EXPECT_FALSE(sink.Finish());
  }
}

TEST_F(FileSinkTest, AFinishedSinkRefusesMoreBytesAndKeepsTheFileWhole) {
  FileSink sink(path_.c_str());
  EXPECT_TRUE(sink.Consume("whole", 5));
  EXPECT_TRUE(sink.Finish());
  EXPECT_TRUE(NothingHoldsOpen(path_));
  EXPECT_FALSE(sink.Consume("more", 4));
  EXPECT_FALSE(sink.ok());
  EXPECT_FALSE(sink.Finish()) << "bytes were lost after the first Finish";
  EXPECT_EQ(sink.bytes(), 5);
  EXPECT_EQ(FileBytes(path_), "whole");
}

TEST_F(FileSinkTest, TheFileIsHeldOnlyWhileTheSinkLivesAndUnfinishedBytesAreDropped) {
  {
    FileSink sink(path_.c_str());
    EXPECT_TRUE(sink.Consume("buffered", 8));
    EXPECT_FALSE(NothingHoldsOpen(path_)) << "nobody else opens the file while it is written";
  }
  EXPECT_TRUE(NothingHoldsOpen(path_));
  EXPECT_EQ(FileBytes(path_), "") << "an unfinished file is short, never taken for whole";
}

}  // namespace
}  // namespace vexo::net
