#include "runtime/w_string.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <limits>
#include <utility>

#include "runtime/binary_stream.h"
#include "runtime/utf8_decode.h"

namespace {

constexpr wchar_t kEmptyLiteral[] = L"";
constexpr wchar_t kMinInt64Text[] = L"-9223372036854775808";
// AppendDouble writes "0" for values this close to zero.
constexpr double kZeroTolerance = 0.000001;

// The byte size of `units` UTF-16 units; a size no buffer can hold ends the process like an exhausted heap.
std::int32_t UnitBytes(std::int64_t units) {
  if (units > std::numeric_limits<std::int32_t>::max() / 2) std::exit(-1);
  return static_cast<std::int32_t>(units * 2);
}

// The C runtime's printf writes exponents with three digits unless told otherwise; the runtime's texts use
// two ("1E+20"). The setting belongs to the C runtime of the whole process and is made once.
void UseTwoDigitExponents() {
  static const unsigned previous_format = ::_set_output_format(_TWO_DIGIT_EXPONENT);
  (void)previous_format;
}

}  // namespace

CWString::CWString() { buffer_.SetStep(kBufferStep); }

CWString::CWString(const wchar_t* text) : CWString() { Append(text); }

CWString::CWString(const wchar_t* literal, LiteralTag) : CWString() { literal_ = literal; }

CWString::CWString(const CWString& other) : CPelObject(other), literal_(other.literal_) {
  buffer_.SetStep(kBufferStep);
  buffer_.Assign(other.buffer_);
}

CWString::CWString(CWString&& other) noexcept
    : CPelObject(other), literal_(other.literal_), buffer_(std::move(other.buffer_)) {
  buffer_.SetStep(kBufferStep);
  other.literal_ = nullptr;
}

CWString& CWString::operator=(const CWString& other) {
  if (&other == this) return *this;
  CPelObject::operator=(other);
  literal_ = other.literal_;
  buffer_.Assign(other.buffer_);
  return *this;
}

const wchar_t* CWString::EmptyLiteral() { return kEmptyLiteral; }

const wchar_t* CWString::GetText() const {
  if (literal_ != nullptr) return literal_;
  const auto* text = static_cast<const wchar_t*>(buffer_.GetData());
  return text != nullptr ? text : kEmptyLiteral;
}

int CWString::GetLength() const {
  if (literal_ != nullptr) return static_cast<int>(std::wcslen(literal_));
  const std::int32_t bytes = buffer_.GetLength();
  return bytes != 0 ? bytes / 2 - 1 : 0;
}

CPelMem& CWString::MakeOwned() {
  if (literal_ == nullptr) return buffer_;
  const wchar_t* literal = literal_;
  literal_ = nullptr;
  buffer_.AssignBytes(literal, UnitBytes(static_cast<std::int64_t>(std::wcslen(literal)) + 1));
  return buffer_;
}

void CWString::Clear() {
  literal_ = nullptr;
  buffer_.SetLength(0);
}

void CWString::AppendUnits(const wchar_t* units, int count) {
  if (buffer_.Holds(units)) {
    // The units would move while the buffer grows.
    CWString copy;
    copy.SetChars(units, count);
    AppendUnits(copy.GetText(), count);
    return;
  }
  MakeOwned();
  std::int32_t base = buffer_.GetLength();
  if (base >= 2 && static_cast<const wchar_t*>(buffer_.GetData())[base / 2 - 1] == L'\0') base -= 2;
  const std::int32_t bytes = UnitBytes(std::int64_t{base / 2} + count + 1);
  auto* text = static_cast<wchar_t*>(buffer_.SetLength(bytes));
  std::memcpy(text + base / 2, units, static_cast<std::size_t>(count) * 2);
  text[base / 2 + count] = L'\0';
}

void CWString::Append(const wchar_t* text) {
  if (text == nullptr || text[0] == L'\0') return;
  const std::size_t length = std::wcslen(text);
  if (length > static_cast<std::size_t>(std::numeric_limits<int>::max())) std::exit(-1);
  AppendUnits(text, static_cast<int>(length));
}

void CWString::AppendChar(wchar_t unit) {
  if (unit != L'\0') AppendUnits(&unit, 1);
}

void CWString::AppendInt64(std::int64_t value) {
  if (value == std::numeric_limits<std::int64_t>::min()) {
    Append(kMinInt64Text);
    return;
  }
  wchar_t digits[21];
  int first = 20;
  digits[first] = L'\0';
  std::uint64_t magnitude = static_cast<std::uint64_t>(value < 0 ? -value : value);
  do {
    digits[--first] = static_cast<wchar_t>(L'0' + magnitude % 10);
    magnitude /= 10;
  } while (magnitude != 0);
  if (value < 0) digits[--first] = L'-';
  Append(digits + first);
}

void CWString::AppendDouble(double value) {
  if (value >= -kZeroTolerance && value <= kZeroTolerance) {
    AppendChar(L'0');
    return;
  }
  AppendFormat(L"%.15G", value);
}

void CWString::Format(const wchar_t* format, ...) {
  va_list arguments;
  va_start(arguments, format);
  FormatV(format, arguments);
  va_end(arguments);
}

void CWString::FormatV(const wchar_t* format, va_list arguments) {
  if (format == nullptr) {
    Clear();
    return;
  }
  UseTwoDigitExponents();
  // msvcrt's _vscwprintf/_vsnwprintf keep the legacy wide rules (%s is a UTF-16 string); the C99
  // vswprintf of mingw would read %s as a narrow string.
  va_list counting;
  va_copy(counting, arguments);
  const int count = ::_vscwprintf(format, counting);
  va_end(counting);
  if (count < 1 || count >= std::numeric_limits<int>::max()) {
    Clear();
    return;
  }
  // Formatted into fresh storage: an argument may point into this text.
  CPelMem formatted;
  formatted.SetStep(kBufferStep);
  auto* text = static_cast<wchar_t*>(formatted.SetLength(UnitBytes(std::int64_t{count} + 1)));
  const int written = ::_vsnwprintf(text, static_cast<std::size_t>(count) + 1, format, arguments);
  if (written <= 0 || written > count) {
    Clear();
    return;
  }
  text[written] = L'\0';
  formatted.SetLength(UnitBytes(std::int64_t{written} + 1));
  literal_ = nullptr;
  buffer_.SwapStorage(formatted);
}

void CWString::AppendFormat(const wchar_t* format, ...) {
  CWString formatted;
  va_list arguments;
  va_start(arguments, format);
  formatted.FormatV(format, arguments);
  va_end(arguments);
  Append(formatted.GetText());
}

void CWString::SetChars(const wchar_t* units, int count) {
  // Built in fresh storage: `units` may point into this text.
  CPelMem chars;
  chars.SetStep(kBufferStep);
  if (count > 0) {
    auto* text = static_cast<wchar_t*>(chars.SetLength(UnitBytes(std::int64_t{count} + 1)));
    if (units != nullptr) {
      std::memcpy(text, units, static_cast<std::size_t>(count) * 2);
    } else {
      std::memset(text, 0, static_cast<std::size_t>(count) * 2);
    }
    text[count] = L'\0';
  }
  literal_ = nullptr;
  buffer_.SwapStorage(chars);
}

void CWString::SetFromUtf8(const char* bytes) {
  CPelMem decoded;
  decoded.SetStep(kBufferStep);
  Utf8Decode(bytes, decoded);
  if (static_cast<const wchar_t*>(decoded.GetData())[0] == L'\0') decoded.SetLength(0);
  literal_ = nullptr;
  buffer_.SwapStorage(decoded);
}

CWString CWString::Mid(int start, int count) const {
  const int length = GetLength();
  const int first = std::clamp(start, 0, length);
  const auto last = static_cast<int>(std::clamp<std::int64_t>(std::int64_t{start} + count, 0, length));
  CWString part;
  if (last - first > 0) part.SetChars(GetText() + first, last - first);
  return part;
}

void CWString::Replace(const wchar_t* find, const wchar_t* replacement, int start, int max_count) {
  if (find == nullptr) return;
  const int length = GetLength();
  const std::size_t find_units = std::wcslen(find);
  start = std::max(start, 0);
  if (find_units == 0 || find_units > static_cast<std::size_t>(length) || start >= length) return;
  const auto find_length = static_cast<int>(find_units);
  // Pieces that live in this text's buffer are copied first: the buffer moves while it is edited.
  CWString find_copy;
  CWString replacement_copy;
  if (buffer_.Holds(find)) {
    find_copy.SetChars(find, find_length);
    find = find_copy.GetText();
  }
  if (replacement != nullptr && buffer_.Holds(replacement)) {
    replacement_copy.Append(replacement);
    replacement = replacement_copy.GetText();
  }
  const std::size_t replacement_length = replacement != nullptr ? std::wcslen(replacement) : 0;
  const std::int32_t replacement_bytes = UnitBytes(static_cast<std::int64_t>(replacement_length));
  MakeOwned();
  int offset = start;
  int remaining = length - start;
  while (remaining >= find_length) {
    const auto* text = static_cast<const wchar_t*>(buffer_.GetData());
    if (std::wcsncmp(text + offset, find, static_cast<std::size_t>(find_length)) != 0) {
      ++offset;
      --remaining;
      continue;
    }
    buffer_.ReplaceBytes(offset * 2, find_length * 2, replacement, replacement_bytes);
    if (max_count > 0 && --max_count == 0) return;
    remaining -= find_length;
    offset += static_cast<int>(replacement_length);
  }
}

bool CWString::IsEmptyConcatSide() const {
  return literal_ != nullptr ? literal_[0] == L'\0' : buffer_.GetLength() < 3;
}

CWString CWString::Concat(const CWString& left, const CWString& right) {
  if (left.IsEmptyConcatSide()) return CWString(right);
  if (right.IsEmptyConcatSide()) return CWString(left);
  CWString joined;
  joined.SetChars(left.GetText(), left.GetLength());
  joined.AppendUnits(right.GetText(), right.GetLength());
  return joined;
}

CWString CWString::Concat(const CWString& left, const wchar_t* right) {
  if (right == nullptr || right[0] == L'\0') return CWString(left);
  CWString joined;
  joined.SetChars(left.GetText(), left.GetLength());
  joined.Append(right);
  return joined;
}

void CWString::LoadFrom(vexo::BinaryStream& stream) {
  if (stream.GetError() != 0) return;
  Clear();
  buffer_.LoadFrom(stream);
  const std::int32_t bytes = buffer_.GetLength();
  if (bytes == 0) return;
  const bool whole_units = bytes % 2 == 0;
  if (!whole_units || static_cast<const wchar_t*>(buffer_.GetData())[bytes / 2 - 1] != L'\0') {
    Clear();
    stream.SetError(vexo::BinaryStream::kShortRead);
  }
}

void CWString::SaveTo(vexo::BinaryStream& stream) const {
  if (literal_ == nullptr) {
    buffer_.SaveTo(stream);
    return;
  }
  CWString owned(*this);
  owned.MakeOwned().SaveTo(stream);
}

bool CWString::HasEqualFields(const CWString& other) const {
  return CPelObject::HasEqualFields(other) && std::wcscmp(GetText(), other.GetText()) == 0;
}
