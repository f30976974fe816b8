// Visual properties of a widget (colours, font, border, alignment) and the parsing of their values.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace xcgui {

// A colour as 0xAARRGGBB.
using Argb = uint32_t;

// What a font is made from; the font cache turns it into a GDI+ font.
struct FontSpec {
  std::wstring face = L"Microsoft YaHei";
  int size = 12;  // pixels
  bool bold = false;
  bool italic = false;

  bool operator==(const FontSpec& other) const {
    return face == other.face && size == other.size && bold == other.bold && italic == other.italic;
  }
};

enum class TextAlign { kLeft, kCenter, kRight };

// Every property is optional: a style sheet rule or a layout attribute sets some, and merging lets the
// more specific source win.
struct Style {
  std::optional<Argb> color;             // text
  std::optional<Argb> background_color;
  std::optional<Argb> border_color;
  std::optional<Argb> bar_color;         // progress bar fill, edit caret and selection
  std::optional<int> border_width;
  std::optional<std::wstring> font_family;
  std::optional<int> font_size;
  std::optional<bool> font_bold;
  std::optional<bool> font_italic;
  std::optional<TextAlign> text_align;

  // Copies every property that `more_specific` sets over this style's.
  void MergeFrom(const Style& more_specific);
  // The font this style asks for, on top of `base`.
  FontSpec Font(const FontSpec& base) const;
};

// Looks up named colours and fonts of the resource pack; either may be empty.
struct NamedValues {
  std::function<std::optional<Argb>(const std::wstring&)> color;
  std::function<std::optional<FontSpec>(const std::wstring&)> font;
};

// The result of setting one property.
enum class PropertyResult { kSet, kUnknownProperty, kBadValue };

// Sets the property `name` (CSS names: color, background-color, border-color, bar-color, border-width,
// font, font-family, font-size, font-weight, font-style, text-align) from its text value.
PropertyResult SetStyleProperty(Style& style, const std::wstring& name, const std::wstring& value,
                                const NamedValues& named);

// "#RGB", "#RRGGBB", "#RRGGBBAA", "transparent" or a colour name of `named`; nullopt when it is none.
std::optional<Argb> ParseColor(const std::wstring& text, const NamedValues& named);
// A whole decimal number, optionally signed, surrounded by nothing but spaces; nullopt otherwise.
std::optional<int> ParseInt(const std::wstring& text);
// "true"/"false"/"1"/"0"/"yes"/"no"; nullopt otherwise.
std::optional<bool> ParseBool(const std::wstring& text);
// The text without leading and trailing white space.
std::wstring Trim(const std::wstring& text);

}  // namespace xcgui
