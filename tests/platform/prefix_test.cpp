// Checks that the wine prefix the tests run in was prepared as the other tests assume.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

namespace {

std::wstring ReadUserText(const wchar_t* key, const wchar_t* value) {
  wchar_t data[256] = {};
  DWORD size = sizeof(data);
  if (RegGetValueW(HKEY_CURRENT_USER, key, value, RRF_RT_REG_SZ, nullptr, data, &size) != ERROR_SUCCESS) {
    return L"";
  }
  return data;
}

TEST(Prefix, ChineseFaceNamesMapToAnInstalledCjkFont) {
  for (const wchar_t* face : {L"Microsoft YaHei", L"\x5FAE\x8F6F\x96C5\x9ED1", L"SimSun"}) {
    EXPECT_EQ(ReadUserText(L"Software\\Wine\\Fonts\\Replacements", face), L"WenQuanYi Micro Hei") << face;
  }
}

TEST(Prefix, CjkFontDrawsChineseGlyphs) {
  HDC dc = CreateCompatibleDC(nullptr);
  ASSERT_NE(dc, nullptr);
  LOGFONTW lf = {};
  lf.lfHeight = -16;
  lf.lfCharSet = DEFAULT_CHARSET;
  wcscpy(lf.lfFaceName, L"Microsoft YaHei");
  HFONT font = CreateFontIndirectW(&lf);
  HGDIOBJ old = SelectObject(dc, font);
  WORD glyphs[2] = {};
  DWORD converted = GetGlyphIndicesW(dc, L"\x52A9\x624B", 2, glyphs, GGI_MARK_NONEXISTING_GLYPHS);
  SelectObject(dc, old);
  DeleteObject(font);
  DeleteDC(dc);
  EXPECT_EQ(converted, 2u);
  EXPECT_NE(glyphs[0], 0xFFFF);
  EXPECT_NE(glyphs[1], 0xFFFF);
}

}  // namespace
