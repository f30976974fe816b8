// Style values, the style sheet format and how rules combine.
#include <gtest/gtest.h>

#include "xcgui/src/style_sheet.h"

namespace xcgui {
namespace {

NamedValues TestNames() {
  return {[](const std::wstring& name) -> std::optional<Argb> {
            if (name == L"accent") return 0xFF1E88E5u;
            return std::nullopt;
          },
          [](const std::wstring& name) -> std::optional<FontSpec> {
            if (name == L"title") return FontSpec{L"SimSun", 20, true, false};
            return std::nullopt;
          }};
}

TEST(StyleValues, ParsesColours) {
  struct Case {
    const wchar_t* text;
    std::optional<Argb> expected;
  } cases[] = {
      {L"#FFF", 0xFFFFFFFFu},      {L"#102030", 0xFF102030u}, {L" #10203080 ", 0x80102030u},
      {L"transparent", 0u},        {L"accent", 0xFF1E88E5u},  {L"#12", std::nullopt},
      {L"#GG0000", std::nullopt},  {L"", std::nullopt},       {L"nosuchname", std::nullopt},
  };
  for (const Case& c : cases) EXPECT_EQ(ParseColor(c.text, TestNames()), c.expected) << c.text;
}

TEST(StyleValues, ParsesIntegersStrictly) {
  EXPECT_EQ(ParseInt(L" -12 "), -12);
  EXPECT_EQ(ParseInt(L"+7"), 7);
  EXPECT_FALSE(ParseInt(L"12px"));
  EXPECT_FALSE(ParseInt(L"-"));
  EXPECT_FALSE(ParseInt(L"99999999999"));
}

TEST(StyleSheetFormat, MoreSpecificSelectorsWinWhateverTheirOrder) {
  std::wstring error;
  auto sheet = StyleSheet::Parse(
      L"#ok { color: #0000FF; }\n"
      L".primary { color: #00FF00; font: title }\n"
      L"button, edit { color: #FF0000; background-color: #EEEEEE; }\n",
      TestNames(), &error);
  ASSERT_TRUE(sheet);
  Style named = sheet->Resolve(L"button", L"ok", L"big primary");
  EXPECT_EQ(named.color, 0xFF0000FFu);
  EXPECT_EQ(named.background_color, 0xFFEEEEEEu);
  EXPECT_EQ(named.Font(FontSpec()).face, L"SimSun");
  EXPECT_EQ(sheet->Resolve(L"edit", L"other", L"primary").color, 0xFF00FF00u);
  EXPECT_EQ(sheet->Resolve(L"edit", L"", L"").color, 0xFFFF0000u);
  EXPECT_FALSE(sheet->Resolve(L"progressbar", L"", L"").color);
}

TEST(StyleSheetFormat, LaterRulesWinAmongEquals) {
  std::wstring error;
  auto sheet = StyleSheet::Parse(L"button { color: #111111 } /* note */ button { color: #222222 }", TestNames(),
                                 &error);
  ASSERT_TRUE(sheet);
  EXPECT_EQ(sheet->Resolve(L"button", L"", L"").color, 0xFF222222u);
}

TEST(StyleSheetFormat, RejectsMalformedSheetsNamingTheLine) {
  struct Case {
    const wchar_t* text;
    const wchar_t* error_part;
  } cases[] = {
      {L"button { color: #FF0000; ", L"line 1: rule without '}'"},
      {L"button {\n colour: red; }", L"unknown property 'colour'"},
      {L"\n\nbutton { color: #12; }", L"line 3: bad value"},
      {L"button { color #FFFFFF; }", L"without ':'"},
      {L"but ton { color: #FFFFFF; }", L"bad selector"},
      {L"/* open comment", L"unterminated comment"},
      {L"button { a { } }", L"'{' inside a rule"},
      {L"stray", L"text outside a rule"},
      {L"edit { font: nosuchfont; }", L"bad value"},
      {L"edit { font-size: 0; }", L"bad value"},
  };
  for (const Case& c : cases) {
    std::wstring error;
    EXPECT_FALSE(StyleSheet::Parse(c.text, TestNames(), &error)) << c.text;
    EXPECT_NE(error.find(c.error_part), std::wstring::npos) << std::string(error.begin(), error.end());
  }
}

}  // namespace
}  // namespace xcgui
