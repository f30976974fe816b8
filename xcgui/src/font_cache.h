// GDI+ fonts made once per font description and shared by every widget; also measures text.
#pragma once

#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include <memory>
#include <string>
#include <vector>

#include "runtime/win/scoped_handles.h"
#include "xcgui/src/style.h"

namespace xcgui {

class FontCache {
 public:
  FontCache() = default;
  ~FontCache();
  FontCache(const FontCache&) = delete;
  FontCache& operator=(const FontCache&) = delete;

  // The font for `font_spec`, created on first use; owned by the cache. Falls back to the default GUI font's
  // face when the face cannot be made; never null while GDI+ runs.
  Gdiplus::Font* Get(const FontSpec& font_spec);
  // The x offset of every caret position of `text` (text.size() + 1 values, the first 0), in pixels;
  // one measuring pass, however long the text.
  std::vector<float> CaretOffsets(const std::wstring& text, const FontSpec& font_spec);
  // Drops every font; called before GDI+ stops.
  void Clear();

  // The string format all single-line text is drawn and measured with; owned by the cache.
  const Gdiplus::StringFormat& Format();

 private:
  Gdiplus::Graphics* Measurer();

  struct Entry {
    FontSpec font_spec;
    vexo::win::ScopedFont gdi_font;  // the same font for GDI measuring
    std::unique_ptr<Gdiplus::Font> font;
  };
  Entry& Find(const FontSpec& font_spec);

  std::vector<std::unique_ptr<Entry>> fonts_;
  vexo::win::ScopedMemoryDc measure_dc_;
  std::unique_ptr<Gdiplus::Graphics> measurer_;
  std::unique_ptr<Gdiplus::StringFormat> format_;
};

}  // namespace xcgui
