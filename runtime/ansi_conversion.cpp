#include "runtime/ansi_conversion.h"

#include <climits>
#include <cstring>
#include <cwchar>

#include "runtime/w_string.h"
#include "runtime/win/windows_api.h"

namespace {

constexpr char kEmptyBytes[] = "";

// A string length with its terminator, as the code-page calls take it; 0 for a string too long for them.
int WithTerminator(std::size_t length) { return length < INT_MAX ? static_cast<int>(length) + 1 : 0; }

}  // namespace

const char* ToAnsi(const wchar_t* text, CPelMem& buffer, int* out_length) {
  if (out_length != nullptr) *out_length = 0;
  if (text == nullptr || text[0] == L'\0') return kEmptyBytes;
  if (buffer.Holds(text)) {
    // The text lives in the buffer that is about to receive the bytes.
    const CWString copy(text);
    return ToAnsi(copy.GetText(), buffer, out_length);
  }
  const int units = WithTerminator(std::wcslen(text));
  if (units == 0) return kEmptyBytes;
  const int size = ::WideCharToMultiByte(CP_ACP, 0, text, units, nullptr, 0, nullptr, nullptr);
  if (size <= 0) return kEmptyBytes;
  auto* bytes = static_cast<char*>(buffer.SetLength(size));
  const int converted = ::WideCharToMultiByte(CP_ACP, 0, text, units, bytes, size, nullptr, nullptr);
  if (converted <= 0) return kEmptyBytes;
  if (out_length != nullptr) *out_length = converted - 1;
  return bytes;
}

const wchar_t* FromAnsi(const char* bytes, CPelMem& buffer) {
  if (bytes == nullptr || bytes[0] == '\0') return CWString::EmptyLiteral();
  if (buffer.Holds(bytes)) {
    // The bytes live in the buffer that is about to receive the text.
    CPelMem copy;
    copy.Append(bytes, static_cast<std::int32_t>(std::strlen(bytes) + 1));
    return FromAnsi(static_cast<const char*>(copy.GetData()), buffer);
  }
  const int count = WithTerminator(std::strlen(bytes));
  if (count == 0) return CWString::EmptyLiteral();
  const int units = ::MultiByteToWideChar(CP_ACP, 0, bytes, count, nullptr, 0);
  if (units <= 0 || units > INT_MAX / 2) return CWString::EmptyLiteral();
  auto* text = static_cast<wchar_t*>(buffer.SetLength(units * 2));
  if (::MultiByteToWideChar(CP_ACP, 0, bytes, count, text, units) <= 0) return CWString::EmptyLiteral();
  return text;
}
