#include "xcgui/src/font_cache.h"

namespace xcgui {

FontCache::~FontCache() { Clear(); }

void FontCache::Clear() {
  format_.reset();
  measurer_.reset();
  measure_dc_.reset();
  fonts_.clear();
}

const Gdiplus::StringFormat& FontCache::Format() {
  if (!format_) {
    format_.reset(Gdiplus::StringFormat::GenericTypographic()->Clone());
    format_->SetFormatFlags(format_->GetFormatFlags() | Gdiplus::StringFormatFlagsMeasureTrailingSpaces |
                            Gdiplus::StringFormatFlagsNoWrap);
  }
  return *format_;
}

Gdiplus::Graphics* FontCache::Measurer() {
  if (!measurer_) {
    measure_dc_.reset(CreateCompatibleDC(nullptr));
    measurer_ = std::make_unique<Gdiplus::Graphics>(measure_dc_.get());
    measurer_->SetTextRenderingHint(Gdiplus::TextRenderingHintAntiAlias);
  }
  return measurer_.get();
}

Gdiplus::Font* FontCache::Get(const FontSpec& font_spec) { return Find(font_spec).font.get(); }

FontCache::Entry& FontCache::Find(const FontSpec& font_spec) {
  for (auto& entry : fonts_) {
    if (entry->font_spec == font_spec) return *entry;
  }
  LOGFONTW lf = {};
  lf.lfHeight = -font_spec.size;
  lf.lfWeight = font_spec.bold ? FW_BOLD : FW_NORMAL;
  lf.lfItalic = font_spec.italic;
  lf.lfCharSet = DEFAULT_CHARSET;
  lf.lfQuality = ANTIALIASED_QUALITY;
  lstrcpynW(lf.lfFaceName, font_spec.face.c_str(), LF_FACESIZE);
  HDC dc = Measurer() ? measure_dc_.get() : nullptr;
  auto font = std::make_unique<Gdiplus::Font>(dc, &lf);
  if (font->GetLastStatus() != Gdiplus::Ok) {
    // The face is unknown here: keep size and weight with the system's GUI face.
    NONCLIENTMETRICSW metrics = {};
    metrics.cbSize = sizeof(metrics);
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
    lstrcpynW(lf.lfFaceName, metrics.lfMessageFont.lfFaceName, LF_FACESIZE);
    font = std::make_unique<Gdiplus::Font>(dc, &lf);
  }
  auto entry = std::make_unique<Entry>();
  entry->font_spec = font_spec;
  entry->gdi_font.reset(CreateFontIndirectW(&lf));
  entry->font = std::move(font);
  fonts_.push_back(std::move(entry));
  return *fonts_.back();
}

std::vector<float> FontCache::CaretOffsets(const std::wstring& text, const FontSpec& font_spec) {
  std::vector<float> offsets(text.size() + 1, 0.0f);
  Entry& entry = Find(font_spec);
  if (text.empty() || !Measurer() || !entry.gdi_font) return offsets;
  std::vector<INT> extents(text.size(), 0);
  SIZE size;
  vexo::win::ScopedSelectObject selected(measure_dc_.get(), entry.gdi_font.get());
  if (!GetTextExtentExPointW(measure_dc_.get(), text.c_str(), static_cast<int>(text.size()), 0, nullptr,
                             extents.data(), &size)) {
    return offsets;
  }
  for (size_t i = 0; i < text.size(); ++i) {
    offsets[i + 1] = std::max(offsets[i], static_cast<float>(extents[i]));
  }
  return offsets;
}

}  // namespace xcgui
