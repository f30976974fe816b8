// The web response: cookies and redirect target taken from the header lines, the UTF-8 text form, and
// copies and the binary form that keep every member.
#include "net/web_response.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "runtime/binary_stream.h"

namespace rg_Pelor_ShiChuang_WangLao {
namespace {

std::vector<std::wstring> Elements(const rg_Pelor_JiBen::rg_WenBenShuZuLei& array) {
  std::vector<std::wstring> elements;
  for (int i = 0; i < array.GetCount(); ++i) elements.emplace_back(array.GetAt(i));
  return elements;
}

rg_WangYeFangWenXiangYingLei ResponseWithLines(const std::vector<const wchar_t*>& lines) {
  rg_WangYeFangWenXiangYingLei response;
  for (const wchar_t* line : lines) response.GetHeaderLines().Add(line);
  response.ExtractCookiesAndRedirect();
  return response;
}

void SetBody(rg_WangYeFangWenXiangYingLei& response, const std::string& bytes) {
  response.GetBody().AssignBytes(bytes.data(), static_cast<std::int32_t>(bytes.size()));
}

TEST(WebResponse, CookiesComeFromSetCookieLinesWithoutNameAndLineEnd) {
  struct Case {
    const wchar_t* line;
    std::vector<std::wstring> cookies;
  };
  const Case cases[] = {
      {L"Set-Cookie: a=1; Path=/\r\n", {L"a=1; Path=/"}},
      {L"set-COOKIE: b=2\r\n", {L"b=2"}},  // any letter case
      {L"Set-Cookie:c=3\r\n", {L"=3"}},    // exactly 12 characters go, space or not
      {L"Set-Cookie: d=4", {L"d=4"}},      // no line end to drop
      {L"Set-Cookie: \r\n", {L""}},        // nothing left: an empty element
      {L"Set-Cookie\r\n", {L""}},
      {L"X-Set-Cookie: e=5\r\n", {}},
      {L"Cookie: f=6\r\n", {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.line);
    EXPECT_EQ(Elements(ResponseWithLines({c.line}).GetCookies()), c.cookies);
  }
}

TEST(WebResponse, RedirectTargetIsTheLastLocationLineKeepingItsLineEnd) {
  EXPECT_EQ(std::wstring(ResponseWithLines({L"Location: /next\r\n"}).GetRedirectTarget().GetText()), L"/next\r\n");
  EXPECT_EQ(std::wstring(ResponseWithLines({L"HTTP/1.1 200 OK\r\n", L"\r\n"}).GetRedirectTarget().GetText()), L"");
  rg_WangYeFangWenXiangYingLei chain = ResponseWithLines(
      {L"HTTP/1.1 302 Found\r\n", L"location: /a\r\n", L"Set-Cookie: one=1\r\n", L"\r\n", L"HTTP/1.1 302 Found\r\n",
       L"LOCATION: /b\r\n", L"Set-Cookie: two=2\r\n", L"\r\n", L"HTTP/1.1 200 OK\r\n", L"\r\n"});
  EXPECT_EQ(std::wstring(chain.GetRedirectTarget().GetText()), L"/b\r\n");
  EXPECT_EQ(Elements(chain.GetCookies()), (std::vector<std::wstring>{L"one=1", L"two=2"}));
  EXPECT_EQ(std::wstring(ResponseWithLines({L"Location\r\n"}).GetRedirectTarget().GetText()), L"");
}

TEST(WebResponse, TextFormIsTheBodyAsUtf8UpToTheFirstInvalidByte) {
  struct Case {
    std::string body;
    std::wstring text;
  };
  const Case cases[] = {
      {"", L""},
      {"plain", L"plain"},
      {"caf\xc3\xa9 \xe4\xb8\xad", L"caf\u00e9 \u4e2d"},
      {"abc\xff\xfe" "def", L"abc"},
      {"ab\xe4\xb8", L"ab"},  // cut short at the end
      {std::string("a\0b", 3), L"a"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "body of " << c.body.size() << " bytes");
    rg_WangYeFangWenXiangYingLei response;
    SetBody(response, c.body);
    CWString output(L"previous contents");
    response.DumpTo(output, 0);
    EXPECT_EQ(std::wstring(output.GetText()), c.text);
  }
}

TEST(WebResponse, CopiesAndTheBinaryFormKeepEveryMember) {
  rg_WangYeFangWenXiangYingLei original =
      ResponseWithLines({L"HTTP/1.1 302 Found\r\n", L"Location: /x\r\n", L"Set-Cookie: k=v\r\n", L"\r\n"});
  SetBody(original, std::string("body\0bytes", 10));
  original.SetTransferFigures(3, 200, 0x123456789LL);

  auto expect_same = [&](const rg_WangYeFangWenXiangYingLei& copy) {
    ASSERT_EQ(copy.GetBody().GetLength(), 10);
    EXPECT_EQ(std::string(static_cast<const char*>(copy.GetBody().GetData()), 10), std::string("body\0bytes", 10));
    EXPECT_NE(copy.GetBody().GetData(), original.GetBody().GetData());
    EXPECT_EQ(Elements(copy.GetCookies()), Elements(original.GetCookies()));
    EXPECT_EQ(Elements(copy.GetHeaderLines()), Elements(original.GetHeaderLines()));
    EXPECT_EQ(std::wstring(copy.GetRedirectTarget().GetText()), L"/x\r\n");
    EXPECT_EQ(copy.GetRedirectCount(), 3);
    EXPECT_EQ(copy.GetStatusCode(), 200);
    EXPECT_EQ(copy.GetTotalTime(), 0x123456789LL);
  };
  {
    SCOPED_TRACE("Clone");
    auto* clone = static_cast<rg_WangYeFangWenXiangYingLei*>(original.Clone());
    expect_same(*clone);
    EXPECT_TRUE(clone->IsEqual(*clone));
    EXPECT_FALSE(clone->IsEqual(original));  // equal only to itself
    clone->Release();
  }
  {
    SCOPED_TRACE("SaveTo and LoadFrom");
    vexo::MemoryStream stream;
    original.SaveTo(stream);
    rg_WangYeFangWenXiangYingLei loaded;
    vexo::MemoryStream input(stream.GetBytes());
    loaded.LoadFrom(input);
    EXPECT_EQ(input.GetError(), 0);
    expect_same(loaded);
  }
  {
    SCOPED_TRACE("a stream cut short");
    vexo::MemoryStream stream;
    original.SaveTo(stream);
    std::vector<std::uint8_t> bytes = stream.GetBytes();
    bytes.resize(bytes.size() - 4);  // part of the total time is missing
    vexo::MemoryStream input(bytes);
    rg_WangYeFangWenXiangYingLei loaded;
    loaded.LoadFrom(input);
    EXPECT_EQ(input.GetError(), vexo::BinaryStream::kShortRead);
    EXPECT_EQ(loaded.GetStatusCode(), 200);
    EXPECT_EQ(loaded.GetTotalTime(), 0);
  }
  {
    SCOPED_TRACE("CopyFrom a byte buffer, a smaller object of another class");
    rg_WangYeFangWenXiangYingLei target = original;
    CPelMem bytes;
    bytes.Append("other", 5);
    EXPECT_FALSE(target.CopyFrom(bytes));
    EXPECT_FALSE(target.IsEqual(bytes));
    expect_same(target);
  }
  original.Reset();
  EXPECT_EQ(original.GetBody().GetLength(), 0);
  EXPECT_EQ(original.GetHeaderLines().GetCount(), 0);
  EXPECT_EQ(original.GetStatusCode(), 0);
}

}  // namespace
}  // namespace rg_Pelor_ShiChuang_WangLao
