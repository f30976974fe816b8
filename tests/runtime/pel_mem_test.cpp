// The byte buffer: growth rule, edits, assignment and object protocol, file output, dump and binary form.
#include "runtime/pel_mem.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "runtime/binary_stream.h"
#include "runtime/w_string.h"
#include "runtime/win/windows_api.h"
#include "tests/support/unobtainable_memory.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
using vexo::BinaryStream;
using vexo::MemoryStream;

std::string AsString(const CPelMem& buffer) {
  const auto* data = static_cast<const char*>(buffer.GetData());
  return data == nullptr ? std::string() : std::string(data, static_cast<std::size_t>(buffer.GetLength()));
}

CPelMem BufferOf(const std::string& text) {
  CPelMem buffer;
  buffer.Append(text.data(), static_cast<std::int32_t>(text.size()));
  return buffer;
}

std::wstring TempFilePath(const wchar_t* name) {
  wchar_t folder[MAX_PATH] = {};
  ::GetTempPathW(MAX_PATH, folder);
  return std::wstring(folder) + name;
}

Bytes ReadFileBytes(const std::wstring& path) {
  Bytes bytes;
  std::FILE* file = ::_wfopen(path.c_str(), L"rb");
  if (file == nullptr) return bytes;
  int c;
  while ((c = std::fgetc(file)) != EOF) bytes.push_back(static_cast<std::uint8_t>(c));
  std::fclose(file);
  return bytes;
}

TEST(PelMemGrowth, CapacityIsTheSmallestStepMultipleAboveTheLengthAtTheLastReallocation) {
  const struct {
    std::int32_t step;
    std::int32_t before;  // 0: a new buffer
    std::int32_t after;
    std::int32_t capacity;
  } cases[] = {
      {64, 0, 1, 64},      {64, 0, 63, 64},      {64, 0, 64, 128},     {64, 0, 100, 128},
      {64, 0, 128, 192},   {64, 128, 100, 128},  {64, 100, 70, 128},   {64, 100, 128, 128},
      {64, 100, 129, 192}, {64, 200, 192, 256},  {64, 200, 191, 192},  {64, 50, 1000, 1024},
      {0, 0, 1, 64},       {-5, 0, 100, 128},    {254, 0, 6, 254},     {254, 0, 254, 508},
      {128, 0, 4, 128},    {128, 0, 128, 256},
  };
  for (const auto& c : cases) {
    CPelMem buffer;
    buffer.SetStep(c.step);
    if (c.before > 0) buffer.SetLength(c.before);
    void* data = buffer.SetLength(c.after);
    EXPECT_EQ(buffer.GetCapacity(), c.capacity) << "step " << c.step << ": " << c.before << " -> " << c.after;
    EXPECT_EQ(buffer.GetLength(), c.after);
    EXPECT_NE(data, nullptr);
    EXPECT_EQ(data, buffer.GetData());
  }
}

TEST(PelMemGrowth, ContentSurvivesReallocationUpToTheSmallerLength) {
  CPelMem buffer = BufferOf("abcdefghij");
  buffer.SetLength(5000);
  EXPECT_EQ(AsString(buffer).substr(0, 10), "abcdefghij");
  buffer.SetLength(3);
  EXPECT_EQ(AsString(buffer), "abc");
  EXPECT_EQ(buffer.GetCapacity(), 64);
}

TEST(PelMemGrowth, LengthZeroFreesTheStorageAndNegativeOrSameLengthChangesNothing) {
  CPelMem buffer;
  EXPECT_EQ(buffer.GetData(), nullptr);
  EXPECT_EQ(buffer.GetCapacity(), 0);
  EXPECT_EQ(buffer.GetStep(), 64);

  buffer.SetLength(100);
  void* data = buffer.GetData();
  EXPECT_EQ(buffer.SetLength(100), data);
  EXPECT_EQ(buffer.SetLength(-1), data);
  EXPECT_EQ(buffer.GetLength(), 100);
  EXPECT_EQ(buffer.GetCapacity(), 128);

  EXPECT_EQ(buffer.SetLength(0), nullptr);
  EXPECT_EQ(buffer.GetData(), nullptr);
  EXPECT_EQ(buffer.GetCapacity(), 0);
  EXPECT_EQ(buffer.GetLength(), 0);
}

TEST(PelMemGrowth, AppendsFillFreeCapacityBeforeGrowing) {
  CPelMem buffer;
  buffer.Append("0123456789", 10);
  EXPECT_EQ(buffer.GetCapacity(), 64);
  for (int i = 0; i < 5; ++i) buffer.Append("0123456789", 10);
  EXPECT_EQ(buffer.GetLength(), 60);
  EXPECT_EQ(buffer.GetCapacity(), 64);
  buffer.Append("0123456789", 10);
  EXPECT_EQ(buffer.GetLength(), 70);
  EXPECT_EQ(buffer.GetCapacity(), 128);
}

TEST(PelMemReserve, GrowsToExactlyTheCapacityAndKeepsBytesLengthAndStep) {
  const struct {
    const char* what;
    std::string content;  // empty: a new buffer without storage
    std::int32_t capacity;
    std::int32_t expected;
  } cases[] = {
      {"new buffer", "", 5000, 5000},
      {"pool block to heap", "abc", 100000, 100000},
      {"heap area grows", std::string(1000, 'x'), 3000000, 3000000},
      {"enough already", "abc", 10, 64},
      {"zero", "abc", 0, 64},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    CPelMem buffer = BufferOf(c.content);
    buffer.SetStep(100);
    EXPECT_TRUE(buffer.TryReserve(c.capacity));
    EXPECT_EQ(buffer.GetCapacity(), c.expected);
    EXPECT_EQ(AsString(buffer), c.content);
    EXPECT_EQ(buffer.GetStep(), 100);
  }
}

TEST(PelMemReserve, AppendsFillTheReservedRoomWithoutReallocating) {
  CPelMem buffer = BufferOf("start");
  ASSERT_TRUE(buffer.TryReserve(100000));
  const void* storage = buffer.GetData();
  const std::string piece(1000, 'p');
  for (int i = 0; i < 99; ++i) buffer.Append(piece.data(), static_cast<std::int32_t>(piece.size()));
  EXPECT_EQ(buffer.GetData(), storage);
  EXPECT_EQ(buffer.GetCapacity(), 100000);
  EXPECT_EQ(AsString(buffer), "start" + std::string(99000, 'p'));
}

TEST(PelMemReserve, MemoryThatCannotBeHadLeavesTheBufferAsItWas) {
  // No 32-bit process has 2 GiB of contiguous address space: the request fails, and the process lives on.
  if (!vexo::test::kThirtyTwoBitLengthsCanExhaustMemory) GTEST_SKIP() << "a 64-bit process gets 2 GiB";
  for (const std::string& content : {std::string(), std::string("abc"), std::string(100000, 'x')}) {
    SCOPED_TRACE(content.size());
    CPelMem buffer = BufferOf(content);
    const std::int32_t capacity = buffer.GetCapacity();
    const void* storage = buffer.GetData();
    EXPECT_FALSE(buffer.TryReserve(INT32_MAX));
    EXPECT_EQ(buffer.GetCapacity(), capacity);
    EXPECT_EQ(buffer.GetData(), storage);
    EXPECT_EQ(AsString(buffer), content);
  }
}

TEST(PelMemEdits, WideAppendsAddUnitsWithOrWithoutATerminator) {
  const struct {
    const wchar_t* text;
    bool with_terminator;
    std::int32_t bytes_added;
  } cases[] = {
      {nullptr, false, 0}, {L"", false, 0}, {L"ab", false, 4}, {L"中文字", false, 6},
      {nullptr, true, 2},  {L"", true, 2},  {L"ab", true, 6},  {L"中文字", true, 8},
  };
  for (const auto& c : cases) {
    CPelMem buffer = BufferOf("x");
    if (c.with_terminator) {
      buffer.AppendWideString(c.text);
    } else {
      buffer.AppendWideChars(c.text);
    }
    ASSERT_EQ(buffer.GetLength(), 1 + c.bytes_added) << (c.text ? "text" : "null") << " " << c.with_terminator;
    if (c.bytes_added >= 2) {
      const auto* bytes = static_cast<const std::uint8_t*>(buffer.GetData()) + 1;
      const wchar_t* source = c.text != nullptr ? c.text : L"";
      EXPECT_EQ(std::memcmp(bytes, source, static_cast<std::size_t>(c.bytes_added)), 0);
    }
  }
}

TEST(PelMemEdits, InsertPlacesBytesOrZerosAndAppendsAtOrPastTheEnd) {
  const struct {
    std::int32_t position;
    const char* source;
    std::int32_t count;
    std::string expected;
  } cases[] = {
      {0, "XY", 2, "XYabcdef"},      {3, "XY", 2, "abcXYdef"},     {6, "XY", 2, "abcdefXY"},
      {60, "XY", 2, "abcdefXY"},     {-4, "XY", 2, "XYabcdef"},    {2, nullptr, 3, std::string("ab\0\0\0cdef", 9)},
      {2, "XY", 0, "abcdef"},        {2, "XY", -3, "abcdef"},
  };
  for (const auto& c : cases) {
    CPelMem buffer = BufferOf("abcdef");
    buffer.Insert(c.position, c.source, c.count);
    EXPECT_EQ(AsString(buffer), c.expected) << c.position << ", " << c.count;
  }
}

TEST(PelMemEdits, ReplaceBytesReplacesUpToTheEndAndFallsBackToInsertOrRemove) {
  const struct {
    std::int32_t position;
    std::int32_t old_count;
    const char* source;
    std::int32_t new_count;
    std::string expected;
  } cases[] = {
      {2, 2, "WXYZ", 4, "abWXYZef"},  // grows
      {1, 4, "X", 1, "aXf"},          // shrinks
      {2, 2, "XY", 2, "abXYef"},      // same size
      {4, 10, "XYZ", 3, "abcdXYZ"},   // past the end: only up to the end
      {6, 3, "XY", 2, "abcdefXY"},    // nothing to replace at the end: insert
      {2, 0, "XY", 2, "abXYcdef"},    // old count 0: insert
      {2, -1, "XY", 2, "abXYcdef"},
      {2, 3, "XY", 0, "abf"},         // no new bytes: remove
      {2, 2, nullptr, 3, std::string("ab\0\0\0ef", 7)},
      {-3, 1, "X", 1, "Xbcdef"},      // position clamped to the start
      {99, 1, "X", 1, "abcdefX"},     // and to the end
  };
  for (const auto& c : cases) {
    CPelMem buffer = BufferOf("abcdef");
    buffer.ReplaceBytes(c.position, c.old_count, c.source, c.new_count);
    EXPECT_EQ(AsString(buffer), c.expected) << c.position << ", " << c.old_count << ", " << c.new_count;
  }
}

TEST(PelMemEdits, RemoveCutsInsideFromTheEndForNegativePositionsAndIgnoresTheRest) {
  const struct {
    std::int32_t position;
    std::int32_t count;
    std::string expected;
    bool storage_freed;
  } cases[] = {
      {1, 2, "adef", false}, {3, 3, "abc", false},  {3, 50, "abc", false}, {0, 6, "", true},
      {0, 99, "", true},     {-1, 2, "abcd", false}, {-7, 5, "a", false},   {-1, 6, "", true},
      {-1, 60, "", true},    {6, 2, "abcdef", false}, {9, 2, "abcdef", false}, {2, 0, "abcdef", false},
      {2, -2, "abcdef", false},
  };
  for (const auto& c : cases) {
    CPelMem buffer = BufferOf("abcdef");
    buffer.Remove(c.position, c.count);
    EXPECT_EQ(AsString(buffer), c.expected) << c.position << ", " << c.count;
    EXPECT_EQ(buffer.GetCapacity() == 0, c.storage_freed) << c.position << ", " << c.count;
  }
}

TEST(PelMemEdits, SourcesInsideTheBufferSurviveItsReallocation) {
  // 200 bytes sit in a pool block; growing past 256 moves them to the process heap.
  std::string pattern;
  for (int i = 0; i < 200; ++i) pattern += static_cast<char>('A' + i % 26);
  CPelMem buffer = BufferOf(pattern);
  buffer.Insert(5, buffer.GetData(), 200);
  EXPECT_EQ(AsString(buffer), pattern.substr(0, 5) + pattern + pattern.substr(5));

  const std::string doubled = AsString(buffer) + AsString(buffer);
  buffer.Append(buffer.GetData(), buffer.GetLength());
  EXPECT_EQ(AsString(buffer), doubled);

  CPelMem other = BufferOf("abcdef");
  other.ReplaceBytes(0, 1, static_cast<const char*>(other.GetData()) + 2, 4);
  EXPECT_EQ(AsString(other), "cdefbcdef");

  other.AssignBytes(static_cast<const char*>(other.GetData()) + 4, 5);
  EXPECT_EQ(AsString(other), "bcdef");
}

TEST(PelMemAssign, CopiesFlagsAndBytesIntoStorageThatFitsWithoutShrinkingIt) {
  CPelMem target;
  target.SetLength(1000);
  const std::int32_t capacity = target.GetCapacity();
  CPelMem source = BufferOf("hello");
  source.SetNullObject(true);

  target.Assign(source);
  EXPECT_EQ(AsString(target), "hello");
  EXPECT_EQ(target.GetCapacity(), capacity) << "storage that fits is reused, not shrunk";
  EXPECT_TRUE(target.IsNullObject());
  EXPECT_TRUE(target.IsEqual(source));

  target.Assign(target);
  EXPECT_EQ(AsString(target), "hello") << "self-assignment keeps the bytes";

  CPelMem small;
  small.Assign(BufferOf(std::string(100, 'z')));
  EXPECT_EQ(small.GetCapacity(), 128) << "a buffer that does not fit grows by the rule";
}

TEST(PelMemAssign, EmptySourceKeepsTheStorageWithLengthZero) {
  CPelMem target = BufferOf("some bytes");
  const std::int32_t capacity = target.GetCapacity();
  CPelMem empty;
  target.Assign(empty);
  EXPECT_EQ(target.GetLength(), 0);
  EXPECT_EQ(target.GetCapacity(), capacity);
  EXPECT_EQ(target.GetData(), nullptr) << "no bytes to read";
  EXPECT_TRUE(target.IsEqual(empty));
  EXPECT_TRUE(empty.IsEqual(target));
}

TEST(PelMemObject, EqualityNeedsTheSameFlagsLengthAndBytes) {
  CPelMem a = BufferOf("abc");
  EXPECT_TRUE(a.IsEqual(BufferOf("abc")));
  EXPECT_FALSE(a.IsEqual(BufferOf("abd")));
  EXPECT_FALSE(a.IsEqual(BufferOf("abcd")));
  CPelMem null_marked = BufferOf("abc");
  null_marked.SetNullObject(true);
  EXPECT_FALSE(a.IsEqual(null_marked));
  EXPECT_FALSE(a.IsEqual(CWString(L"abc")));
}

TEST(PelMemObject, CloneCopyFromAndResetFollowTheObjectProtocol) {
  CPelMem source = BufferOf("payload");
  CPelObject* clone = source.Clone();
  EXPECT_TRUE(clone->IsEqual(source));
  EXPECT_NE(static_cast<CPelMem*>(clone)->GetData(), source.GetData()) << "storage is never shared";
  clone->Release();

  CPelMem target = BufferOf("old");
  EXPECT_FALSE(target.CopyFrom(CWString(L"text")));
  EXPECT_EQ(AsString(target), "old");
  EXPECT_TRUE(target.CopyFrom(source));
  EXPECT_EQ(AsString(target), "payload");

  const std::int32_t capacity = target.GetCapacity();
  target.SetNullObject(true);
  target.Reset();
  EXPECT_EQ(target.GetLength(), 0);
  EXPECT_EQ(target.GetCapacity(), capacity) << "Reset keeps the storage";
  EXPECT_FALSE(target.IsNullObject());
}

TEST(PelMemFile, WritesEveryByteAndAnEmptyBufferGivesAnEmptyFile) {
  const std::wstring path = TempFilePath(L"vexo_pel_mem_test.bin");
  CPelMem buffer;
  buffer.Append("\x00\x01\xFFxyz", 6);
  ASSERT_TRUE(buffer.WriteToFile(path.c_str()));
  EXPECT_EQ(ReadFileBytes(path), (Bytes{0x00, 0x01, 0xFF, 'x', 'y', 'z'}));

  ASSERT_TRUE(CPelMem().WriteToFile(path.c_str()));
  EXPECT_TRUE(ReadFileBytes(path).empty());
  DWORD attributes = ::GetFileAttributesW(path.c_str());
  EXPECT_NE(attributes, INVALID_FILE_ATTRIBUTES) << "the empty file exists";
  ::DeleteFileW(path.c_str());
}

TEST(PelMemFile, RefusesNullEmptyAndUnreachablePaths) {
  CPelMem buffer = BufferOf("data");
  EXPECT_FALSE(buffer.WriteToFile(nullptr));
  EXPECT_FALSE(buffer.WriteToFile(L""));
  EXPECT_FALSE(buffer.WriteToFile(TempFilePath(L"no_such_folder_vexo\\file.bin").c_str()));
}

TEST(PelMemDump, SmallBufferShowsPaddedRowsWithPrintableCharacters) {
  CPelMem buffer;
  buffer.Append("Hello, world!\r\n\x7F\x80\x20~AB", 20);
  CWString output(L"prefix ");
  buffer.DumpTo(output, -1);
  const std::wstring expected = L"prefix <字节集> 总共 20 个字节:"
                                L"\r\n[00000000]: 48 65 6C 6C 6F 2C 20 77 6F 72 6C 64 21 0D 0A 7F | Hello, world!..."
                                L"\r\n[00000010]: 80 20 7E 41" +
                                std::wstring(48 - 3 * 4, L' ') + L" | . ~A";
  EXPECT_EQ(output.GetText(), expected);
}

TEST(PelMemDump, LimitZeroShows1024BytesUnderTheLongHeader) {
  CPelMem buffer;
  buffer.SetLength(2000);
  for (int i = 0; i < 2000; ++i) static_cast<std::uint8_t*>(buffer.GetData())[i] = static_cast<std::uint8_t>(i);
  CWString output;
  buffer.DumpTo(output, 0);
  const std::wstring text = output.GetText();
  EXPECT_EQ(text.rfind(L"<字节集> 总共 2000 个字节,输出了 1024 个,还有 976 个未被输出.\r\n[00000000]: 00 01", 0), 0u);
  EXPECT_NE(text.find(L"\r\n[00000010]: 10 11"), std::wstring::npos);
  EXPECT_NE(text.find(L"\r\n[000003F0]: F0 F1"), std::wstring::npos);
  EXPECT_EQ(text.find(L"[00000400]"), std::wstring::npos);

  const struct {
    int limit;
    const wchar_t* header;
    int rows;
  } cases[] = {
      {-1, L"<字节集> 总共 2000 个字节:", 125},
      {17, L"<字节集> 总共 2000 个字节,输出了 17 个,还有 1983 个未被输出.", 2},
      {5000, L"<字节集> 总共 2000 个字节:", 125},
  };
  for (const auto& c : cases) {
    CWString dump;
    buffer.DumpTo(dump, c.limit);
    const std::wstring all = dump.GetText();
    EXPECT_EQ(all.substr(0, all.find(L"\r\n")), c.header) << c.limit;
    int rows = 0;
    for (std::size_t at = all.find(L"\r\n["); at != std::wstring::npos; at = all.find(L"\r\n[", at + 1)) ++rows;
    EXPECT_EQ(rows, c.rows) << c.limit;
  }
}

TEST(PelMemStream, RoundTripsThroughTheBinaryForm) {
  for (const std::string& content : {std::string(), std::string("abc"), std::string(100000, 'q')}) {
    MemoryStream stream;
    BufferOf(content).SaveTo(stream);
    ASSERT_EQ(stream.GetBytes().size(), 4 + content.size());
    EXPECT_EQ(stream.GetBytes()[0], static_cast<std::uint8_t>(content.size() & 0xFF));
    CPelMem loaded = BufferOf("previous content");
    loaded.LoadFrom(stream);
    EXPECT_EQ(stream.GetError(), 0);
    EXPECT_EQ(AsString(loaded), content);
    if (content.empty()) {
      EXPECT_EQ(loaded.GetCapacity(), 0) << "length 0 empties the buffer";
    }
  }
}

TEST(PelMemStream, BadInputFailsTheStreamWithoutLosingOrInventingBytes) {
  const struct {
    const char* what;
    Bytes input;
    std::string after;
  } cases[] = {
      {"short length", {3, 0}, "keep"},
      {"negative length", {0xFF, 0xFF, 0xFF, 0xFF, 'a'}, "keep"},
      {"short body", {5, 0, 0, 0, 'a', 'b'}, ""},
      {"corrupt huge length", {0xF0, 0xFF, 0xFF, 0x7F, 'a', 'b', 'c'}, ""},
  };
  for (const auto& c : cases) {
    MemoryStream stream(c.input);
    CPelMem buffer = BufferOf("keep");
    buffer.LoadFrom(stream);
    EXPECT_EQ(stream.GetError(), BinaryStream::kShortRead) << c.what;
    EXPECT_EQ(AsString(buffer), c.after) << c.what;
  }

  CPelMem untouched = BufferOf("keep");
  MemoryStream refill(Bytes{4, 0, 0, 0, 'n', 'e', 'w', '!'});
  refill.SetError(BinaryStream::kShortRead);
  untouched.LoadFrom(refill);
  EXPECT_EQ(AsString(untouched), "keep") << "nothing is read from a failed stream";

  MemoryStream small(6);
  BufferOf("abcdef").SaveTo(small);
  EXPECT_EQ(small.GetError(), BinaryStream::kFailedWrite);
}

}  // namespace
