#include "net/web_response.h"

#include <algorithm>
#include <cwchar>

#include "runtime/binary_stream.h"

namespace rg_Pelor_ShiChuang_WangLao {

namespace {

constexpr wchar_t kSetCookie[] = L"Set-Cookie";
constexpr int kSetCookieLength = 10;
constexpr int kSetCookiePrefix = 12;  // "Set-Cookie: "
constexpr wchar_t kLocation[] = L"Location";
constexpr int kLocationLength = 8;
constexpr int kLocationPrefix = 10;  // "Location: "

bool EndsWithLineEnd(const CWString& text) {
  int length = text.GetLength();
  return length >= 2 && text.GetText()[length - 2] == L'\r' && text.GetText()[length - 1] == L'\n';
}

template <class T>
void ReadNumber(vexo::BinaryStream& stream, T& field) {
  T value{};
  if (stream.ReadValue(value)) field = value;
}

}  // namespace

void rg_WangYeFangWenXiangYingLei::ExtractCookiesAndRedirect() {
  for (int i = 0; i < header_lines_.GetCount(); ++i) {
    CWString line(header_lines_.GetAt(i));
    int length = line.GetLength();
    if (_wcsnicmp(line.GetText(), kSetCookie, kSetCookieLength) == 0) {
      int cut = std::min(length, kSetCookiePrefix);
      CWString cookie = line.Mid(cut, length - cut);
      if (EndsWithLineEnd(cookie)) cookie = cookie.Mid(0, cookie.GetLength() - 2);
      cookies_.Add(cookie);
    }
    if (_wcsnicmp(line.GetText(), kLocation, kLocationLength) == 0) {
      redirect_target_ = line.Mid(kLocationPrefix, length - kLocationPrefix);
    }
  }
}

void rg_WangYeFangWenXiangYingLei::SetTransferFigures(std::int32_t redirect_count, std::int32_t status_code,
                                                      std::int64_t total_time_us) {
  redirect_count_ = redirect_count;
  status_code_ = status_code;
  total_time_us_ = total_time_us;
}

void rg_WangYeFangWenXiangYingLei::DumpTo(CWString& output, int) const {
  CPelMem terminated(body_);
  terminated.Append(nullptr, 4);
  CWString text;
  text.SetFromUtf8(static_cast<const char*>(terminated.GetData()));
  output = text;
}

void rg_WangYeFangWenXiangYingLei::SaveTo(vexo::BinaryStream& stream) const {
  body_.SaveTo(stream);
  cookies_.SaveTo(stream);
  header_lines_.SaveTo(stream);
  redirect_target_.SaveTo(stream);
  stream.WriteValue(redirect_count_);
  stream.WriteValue(status_code_);
  stream.WriteValue(total_time_us_);
}

void rg_WangYeFangWenXiangYingLei::LoadFrom(vexo::BinaryStream& stream) {
  body_.LoadFrom(stream);
  cookies_.LoadFrom(stream);
  header_lines_.LoadFrom(stream);
  redirect_target_.LoadFrom(stream);
  ReadNumber(stream, redirect_count_);
  ReadNumber(stream, status_code_);
  ReadNumber(stream, total_time_us_);
}

}  // namespace rg_Pelor_ShiChuang_WangLao
