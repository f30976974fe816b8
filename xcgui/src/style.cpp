#include "xcgui/src/style.h"

#include <cwctype>

namespace xcgui {

void Style::MergeFrom(const Style& more_specific) {
  auto take = [](auto& mine, const auto& theirs) {
    if (theirs) mine = theirs;
  };
  take(color, more_specific.color);
  take(background_color, more_specific.background_color);
  take(border_color, more_specific.border_color);
  take(bar_color, more_specific.bar_color);
  take(border_width, more_specific.border_width);
  take(font_family, more_specific.font_family);
  take(font_size, more_specific.font_size);
  take(font_bold, more_specific.font_bold);
  take(font_italic, more_specific.font_italic);
  take(text_align, more_specific.text_align);
}

FontSpec Style::Font(const FontSpec& base) const {
  FontSpec font = base;
  if (font_family) font.face = *font_family;
  if (font_size) font.size = *font_size;
  if (font_bold) font.bold = *font_bold;
  if (font_italic) font.italic = *font_italic;
  return font;
}

std::wstring Trim(const std::wstring& text) {
  size_t begin = 0;
  size_t end = text.size();
  while (begin < end && iswspace(text[begin])) ++begin;
  while (end > begin && iswspace(text[end - 1])) --end;
  return text.substr(begin, end - begin);
}

std::optional<int> ParseInt(const std::wstring& text) {
  std::wstring t = Trim(text);
  if (t.empty()) return std::nullopt;
  size_t i = 0;
  bool negative = false;
  if (t[0] == L'-' || t[0] == L'+') {
    negative = t[0] == L'-';
    i = 1;
  }
  if (i == t.size()) return std::nullopt;
  long long value = 0;
  for (; i < t.size(); ++i) {
    if (t[i] < L'0' || t[i] > L'9') return std::nullopt;
    value = value * 10 + (t[i] - L'0');
    if (value > 1000000000) return std::nullopt;
  }
  return static_cast<int>(negative ? -value : value);
}

std::optional<bool> ParseBool(const std::wstring& text) {
  std::wstring t = Trim(text);
  if (t == L"true" || t == L"1" || t == L"yes") return true;
  if (t == L"false" || t == L"0" || t == L"no") return false;
  return std::nullopt;
}

std::optional<Argb> ParseColor(const std::wstring& text, const NamedValues& named) {
  std::wstring t = Trim(text);
  if (t == L"transparent") return 0u;
  if (t.empty() || t[0] != L'#') return named.color ? named.color(t) : std::nullopt;
  std::wstring hex = t.substr(1);
  for (wchar_t c : hex) {
    if (!iswxdigit(c)) return std::nullopt;
  }
  if (hex.size() == 3) hex = {hex[0], hex[0], hex[1], hex[1], hex[2], hex[2]};
  if (hex.size() != 6 && hex.size() != 8) return std::nullopt;
  uint32_t value = static_cast<uint32_t>(std::stoul(hex, nullptr, 16));
  if (hex.size() == 6) return 0xFF000000u | value;
  return (value >> 8) | (value << 24);  // RRGGBBAA -> AARRGGBB
}

namespace {

std::optional<TextAlign> ParseAlign(const std::wstring& text) {
  std::wstring t = Trim(text);
  if (t == L"left") return TextAlign::kLeft;
  if (t == L"center") return TextAlign::kCenter;
  if (t == L"right") return TextAlign::kRight;
  return std::nullopt;
}

// Font sizes are pixels: "14" or "14px"; 1..200.
std::optional<int> ParseFontSize(const std::wstring& text) {
  std::wstring t = Trim(text);
  if (t.size() > 2 && t.compare(t.size() - 2, 2, L"px") == 0) t.resize(t.size() - 2);
  auto size = ParseInt(t);
  if (!size || *size < 1 || *size > 200) return std::nullopt;
  return size;
}

PropertyResult SetIf(bool ok) { return ok ? PropertyResult::kSet : PropertyResult::kBadValue; }

template <typename T>
PropertyResult Assign(std::optional<T>& field, const std::optional<T>& value) {
  if (value) field = value;
  return SetIf(value.has_value());
}

}  // namespace

PropertyResult SetStyleProperty(Style& style, const std::wstring& name, const std::wstring& value,
                                const NamedValues& named) {
  if (name == L"color") return Assign(style.color, ParseColor(value, named));
  if (name == L"background-color") return Assign(style.background_color, ParseColor(value, named));
  if (name == L"border-color") return Assign(style.border_color, ParseColor(value, named));
  if (name == L"bar-color") return Assign(style.bar_color, ParseColor(value, named));
  if (name == L"text-align") return Assign(style.text_align, ParseAlign(value));
  if (name == L"font-size") return Assign(style.font_size, ParseFontSize(value));
  if (name == L"border-width") {
    auto width = ParseInt(value);
    if (width && (*width < 0 || *width > 20)) width.reset();
    return Assign(style.border_width, width);
  }
  if (name == L"font-family") {
    std::wstring face = Trim(value);
    if (face.size() >= 2 && (face.front() == L'"' || face.front() == L'\'') && face.back() == face.front()) {
      face = face.substr(1, face.size() - 2);
    }
    if (face.empty() || face.size() >= LF_FACESIZE) return PropertyResult::kBadValue;
    style.font_family = face;
    return PropertyResult::kSet;
  }
  if (name == L"font-weight") {
    std::wstring t = Trim(value);
    if (t == L"bold" || t == L"700") style.font_bold = true;
    else if (t == L"normal" || t == L"400") style.font_bold = false;
    else return PropertyResult::kBadValue;
    return PropertyResult::kSet;
  }
  if (name == L"font-style") {
    std::wstring t = Trim(value);
    if (t == L"italic") style.font_italic = true;
    else if (t == L"normal") style.font_italic = false;
    else return PropertyResult::kBadValue;
    return PropertyResult::kSet;
  }
  if (name == L"font") {
    // A font of the resource pack, by name: sets every font property.
    auto font = named.font ? named.font(Trim(value)) : std::nullopt;
    if (!font) return PropertyResult::kBadValue;
    style.font_family = font->face;
    style.font_size = font->size;
    style.font_bold = font->bold;
    style.font_italic = font->italic;
    return PropertyResult::kSet;
  }
  return PropertyResult::kUnknownProperty;
}

}  // namespace xcgui
