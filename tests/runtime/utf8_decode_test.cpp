// UTF-8 decoding: sequence lengths from 1 to 6 bytes, surrogate pairs and the stop rules.
#include "runtime/utf8_decode.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace {

using Units = std::vector<std::uint16_t>;

Units DecodedUnits(const CPelMem& buffer) {
  const auto* units = static_cast<const std::uint16_t*>(buffer.GetData());
  return Units(units, units + buffer.GetLength() / 2);
}

TEST(Utf8Decode, DecodesEachSequenceLengthAndStopsWhereTheRulesSay) {
  const struct {
    const char* what;
    const char* bytes;
    Units units;  // terminator included
  } cases[] = {
      {"ascii", "Az~", {0x41, 0x7A, 0x7E, 0}},
      {"two bytes", "\xC3\xA9", {0xE9, 0}},
      {"three bytes", "\xE4\xB8\xAD", {0x4E2D, 0}},
      {"four bytes: surrogate pair", "\xF0\x9F\x98\x80", {0xD83D, 0xDE00, 0}},
      {"five bytes", "\xF8\x88\x80\x80\x80", {0xDBC0, 0xDC00, 0}},
      {"six bytes", "\xFD\xBF\xBF\xBF\xBF\xBF", {0xDBBF, 0xDFFF, 0}},
      {"overlong form accepted", "\xC1\x81" "b", {0x41, 0x62, 0}},
      {"lone continuation stops", "a\x80" "b", {0x61, 0}},
      {"lead FE stops", "a\xFE" "b", {0x61, 0}},
      {"lead FF stops", "\xFF", {0}},
      {"bad continuation drops the character", "a\xE4\xB8" "b", {0x61, 0}},
      {"end inside a character drops it", "ab\xF0\x9F\x98", {0x61, 0x62, 0}},
      {"empty", "", {0}},
  };
  for (const auto& c : cases) {
    CPelMem buffer;
    const int count = Utf8Decode(c.bytes, buffer);
    EXPECT_EQ(DecodedUnits(buffer), c.units) << c.what;
    EXPECT_EQ(count, static_cast<int>(c.units.size()) - 1) << c.what;
    EXPECT_EQ(buffer.GetLength(), static_cast<std::int32_t>(c.units.size() * 2)) << c.what;
  }
}

TEST(Utf8Decode, NullInputDecodesAsEmptyAndOldContentIsReplaced) {
  CPelMem buffer;
  buffer.Append("old bytes that are longer", 25);
  EXPECT_EQ(Utf8Decode(nullptr, buffer), 0);
  EXPECT_EQ(DecodedUnits(buffer), Units{0});
}

TEST(Utf8Decode, BytesInsideTheOutputBufferDecodeAsIfTheyWereElsewhere) {
  // Decoding writes units over the bytes and may move the storage; the source must not follow it.
  const std::string long_ascii(100, 'q');
  Units long_units(100, 0x71);
  long_units.push_back(0);
  const struct {
    const char* what;
    std::string content;  // the buffer's bytes, zero terminator included
    std::size_t offset;   // where the source starts
    Units units;  // terminator included
  } cases[] = {
      {"the whole buffer", std::string("abc", 4), 0, {0x61, 0x62, 0x63, 0}},
      {"inside, multi-byte", std::string("xy\xE4\xB8\xAD" "\xC3\xA9", 8), 2, {0x4E2D, 0xE9, 0}},
      {"output outgrows the storage", long_ascii + '\0', 0, long_units},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    CPelMem buffer;
    std::memcpy(buffer.SetLength(static_cast<std::int32_t>(c.content.size())), c.content.data(), c.content.size());
    const int count = Utf8Decode(static_cast<const char*>(buffer.GetData()) + c.offset, buffer);
    EXPECT_EQ(DecodedUnits(buffer), c.units);
    EXPECT_EQ(count, static_cast<int>(c.units.size()) - 1);
  }
}

}  // namespace
