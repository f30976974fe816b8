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

Gdiplus::Font* FontCache::Get(const FontSpec& spec) {
  for (auto& [key, font] : fonts_) {
    if (key == spec) return font.get();
  }
  LOGFONTW lf = {};
  lf.lfHeight = -spec.size;
  lf.lfWeight = spec.bold ? FW_BOLD : FW_NORMAL;
  lf.lfItalic = spec.italic;
  lf.lfCharSet = DEFAULT_CHARSET;
  lf.lfQuality = ANTIALIASED_QUALITY;
  lstrcpynW(lf.lfFaceName, spec.face.c_str(), LF_FACESIZE);
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
  fonts_.emplace_back(spec, std::move(font));
  return fonts_.back().second.get();
}

std::vector<float> FontCache::CaretOffsets(const std::wstring& text, const FontSpec& spec) {
  std::vector<float> offsets(text.size() + 1, 0.0f);
  Gdiplus::Font* font = Get(spec);
  Gdiplus::Graphics* g = Measurer();
  for (size_t i = 1; i <= text.size(); ++i) {
    Gdiplus::RectF box;
    g->MeasureString(text.c_str(), static_cast<INT>(i), font, Gdiplus::PointF(0, 0), &Format(), &box);
    offsets[i] = std::max(offsets[i - 1], box.Width);
  }
  return offsets;
}

}  // namespace xcgui
