// CWString and CWConstString: the runtime's UTF-16 text, over a shared constant literal or in an owned buffer.
#pragma once

#include <cstdarg>
#include <cstdint>

#include "runtime/class_family.h"
#include "runtime/pel_mem.h"
#include "runtime/pel_object.h"

// A text is its literal when one is set (never copied, written or freed), else the content of its buffer:
// UTF-16 units and one zero unit, or nothing for the empty text. Every change first makes the text owned.
// Read access never yields null. Null or empty arguments are no-ops and positions are clamped; only an
// exhausted heap fails, by ending the process with exit code -1. One thread at a time.
class CWString : public CPelObject {
  PEL_OBJECT_CLASS(CWString, CPelObject, "CWString")

  // Growth step of the text's buffer, in bytes.
  static constexpr std::int32_t kBufferStep = 254;

  // The empty text.
  CWString();
  // An owned copy of zero-terminated `text` (null: the empty text).
  explicit CWString(const wchar_t* text);
  // Copies flags, reserved word and the literal pointer (shared), and the buffer's bytes.
  CWString(const CWString& other);
  // Takes `other`'s literal and storage; `other` is left empty.
  CWString(CWString&& other) noexcept;
  CWString& operator=(const CWString& other);

  // The one shared, static empty literal that every empty text reads as.
  static const wchar_t* EmptyLiteral();

  // The zero-terminated text; never null. Owned by the text (or the literal's owner); valid until the
  // text next changes.
  const wchar_t* GetText() const;
  // Characters (UTF-16 units) before the terminator.
  int GetLength() const;
  // Whether the text's first unit is the terminator.
  bool IsEmpty() const { return GetText()[0] == L'\0'; }
  // Moves a literal into the buffer (units and terminator) and drops it; nothing when there is none.
  // Returns the buffer, which the text owns; a caller that writes it keeps one final zero unit.
  CPelMem& MakeOwned();
  // The buffer as it stands (empty while the text is a literal).
  const CPelMem& GetBuffer() const { return buffer_; }
  // Becomes the empty text: literal dropped, storage freed.
  void Clear();

  // Appends zero-terminated `text`; null or empty changes nothing (a literal stays a literal).
  void Append(const wchar_t* text);
  // Appends one unit; unit 0 changes nothing.
  void AppendChar(wchar_t unit);
  // Appends the decimal form of `value`.
  void AppendInt64(std::int64_t value);
  // Appends "0" for values within ±0.000001, else the "%.15G" form (1E+20 for 1e20).
  void AppendDouble(double value);
  // Replaces the text with printf-style output under the C runtime's legacy wide rules: %s takes a UTF-16
  // string, %d a 32-bit int; exponents have two digits. A null format, an empty result or a formatting
  // error leaves the text empty. Arguments may point into this text.
  void Format(const wchar_t* format, ...);
  // Format with the arguments in a va_list.
  void FormatV(const wchar_t* format, va_list arguments);
  // Appends the output of Format.
  void AppendFormat(const wchar_t* format, ...);
  // Becomes `count` units from `units` (zeros when it is null); count <= 0 gives the empty text.
  void SetChars(const wchar_t* units, int count);
  // Becomes the decoding of zero-terminated UTF-8 `bytes` (Utf8Decode); a first unit 0 gives the empty text.
  void SetFromUtf8(const char* bytes);
  // A new text of the units from `start` for `count` units, both clamped to the text.
  CWString Mid(int start, int count) const;
  // Replaces occurrences of `find` from unit `start` on by `replacement` (null: removed), left to right,
  // at most `max_count` of them (0 or less: all); the scan resumes after each inserted replacement.
  void Replace(const wchar_t* find, const wchar_t* replacement, int start, int max_count);
  // A new text joining `left` and `right`. An empty side gives a copy of the other (a literal stays shared).
  static CWString Concat(const CWString& left, const CWString& right);
  // A new text joining `left` and zero-terminated `right` (null or empty: a copy of `left`).
  static CWString Concat(const CWString& left, const wchar_t* right);

  // Reads the buffer's binary form. Bytes that are not whole units ending in one zero unit fail the
  // stream (kShortRead) and leave the text empty. Nothing once the stream has failed.
  void LoadFrom(vexo::BinaryStream& stream) override;
  // Writes the buffer's binary form (a literal as its owned copy would be).
  void SaveTo(vexo::BinaryStream& stream) const override;

 protected:
  struct LiteralTag {};
  // A text over `literal`, which must outlive it; for CWConstString.
  CWString(const wchar_t* literal, LiteralTag);

  bool HasEqualFields(const CWString& other) const;

 private:
  // Appends `count` units (count >= 1) and a terminator, replacing the current terminator.
  void AppendUnits(const wchar_t* units, int count);
  // Whether the text counts as empty for Concat.
  bool IsEmptyConcatSide() const;

  const wchar_t* literal_ = nullptr;
  CPelMem buffer_;
};

// A text over a constant literal, which must outlive it (a string literal); class chain CWConstString ->
// CWString -> CPelObject.
class CWConstString : public CWString {
  PEL_OBJECT_CLASS(CWConstString, CWString, "CWConstString")

  // The empty text.
  CWConstString() = default;
  // The text over `literal` (null: the empty text); nothing is copied.
  explicit CWConstString(const wchar_t* literal) : CWString(literal, LiteralTag{}) {}
  CWConstString(const CWConstString&) = default;
  CWConstString& operator=(const CWConstString&) = default;
};

static_assert(sizeof(CWString) == sizeof(CPelObject) + sizeof(void*) + sizeof(CPelMem), "header, literal, buffer");
static_assert(sizeof(CWConstString) == sizeof(CWString), "same layout as CWString");
