#include "xcgui/src/canvas.h"

namespace xcgui {
namespace {

Gdiplus::Color ToColor(Argb argb) { return Gdiplus::Color(argb); }

Gdiplus::RectF ToRectF(const RECT& r) {
  return Gdiplus::RectF(static_cast<Gdiplus::REAL>(r.left), static_cast<Gdiplus::REAL>(r.top),
                        static_cast<Gdiplus::REAL>(r.right - r.left), static_cast<Gdiplus::REAL>(r.bottom - r.top));
}

Gdiplus::StringAlignment ToAlignment(TextAlign align) {
  switch (align) {
    case TextAlign::kLeft:
      return Gdiplus::StringAlignmentNear;
    case TextAlign::kCenter:
      return Gdiplus::StringAlignmentCenter;
    case TextAlign::kRight:
      return Gdiplus::StringAlignmentFar;
  }
  return Gdiplus::StringAlignmentNear;
}

}  // namespace

void Canvas::NarrowClip(const RECT& rect) {
  RECT narrowed;
  if (!IntersectRect(&narrowed, &clip_, &rect)) narrowed = {};
  SetClip(narrowed);
}

void Canvas::SetClip(const RECT& clip) {
  clip_ = clip;
  graphics_.SetClip(Gdiplus::Rect(clip.left, clip.top, clip.right - clip.left, clip.bottom - clip.top),
                    Gdiplus::CombineModeReplace);
}

void Canvas::FillRect(const RECT& rect, Argb color) {
  if ((color >> 24) == 0 || IsRectEmpty(&rect)) return;
  if ((color >> 24) == 0xFF) {
    // Opaque: GDI fills the visible part much faster than GDI+ here.
    RECT part;
    if (!IntersectRect(&part, &rect, &clip_)) return;
    graphics_.Flush(Gdiplus::FlushIntentionSync);
    vexo::win::ScopedBrush brush(CreateSolidBrush(RGB((color >> 16) & 0xFF, (color >> 8) & 0xFF, color & 0xFF)));
    ::FillRect(dc_, &part, brush.get());
    return;
  }
  Gdiplus::SolidBrush brush(ToColor(color));
  graphics_.FillRectangle(&brush, static_cast<INT>(rect.left), static_cast<INT>(rect.top),
                          static_cast<INT>(rect.right - rect.left), static_cast<INT>(rect.bottom - rect.top));
}

void Canvas::FrameRect(const RECT& rect, Argb color, int width) {
  if ((color >> 24) == 0 || width <= 0) return;
  RECT edges[4] = {
      {rect.left, rect.top, rect.right, rect.top + width},
      {rect.left, rect.bottom - width, rect.right, rect.bottom},
      {rect.left, rect.top + width, rect.left + width, rect.bottom - width},
      {rect.right - width, rect.top + width, rect.right, rect.bottom - width},
  };
  for (const RECT& edge : edges) FillRect(edge, color);
}

void Canvas::DrawImage(const Image& image, const RECT& rect) {
  if (IsRectEmpty(&rect)) return;
  int width = rect.right - rect.left;
  int height = rect.bottom - rect.top;
  if (width == image.width() && height == image.height()) {
    // Unscaled: a plain GDI copy or blend of the visible part, much faster than GDI+ here.
    RECT part;
    if (!IntersectRect(&part, &rect, &clip_)) return;
    if (!image_dc_) image_dc_.reset(CreateCompatibleDC(dc_));
    vexo::win::ScopedSelectObject selected(image_dc_.get(), image.dib());
    graphics_.Flush(Gdiplus::FlushIntentionSync);
    int x = part.left - rect.left;
    int y = part.top - rect.top;
    int w = part.right - part.left;
    int h = part.bottom - part.top;
    if (image.opaque()) {
      BitBlt(dc_, part.left, part.top, w, h, image_dc_.get(), x, y, SRCCOPY);
    } else {
      BLENDFUNCTION blend = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
      AlphaBlend(dc_, part.left, part.top, w, h, image_dc_.get(), x, y, w, h, blend);
    }
    return;
  }
  graphics_.SetInterpolationMode(Gdiplus::InterpolationModeHighQualityBicubic);
  graphics_.SetPixelOffsetMode(Gdiplus::PixelOffsetModeHalf);
  graphics_.DrawImage(image.bitmap(), Gdiplus::Rect(rect.left, rect.top, width, height), 0, 0, image.width(),
                      image.height(), Gdiplus::UnitPixel);
}

void Canvas::DrawLine(const std::wstring& text, const RECT& rect, const FontSpec& font, Argb color,
                      TextAlign align, float offset_x) {
  if (text.empty() || (color >> 24) == 0) return;
  Gdiplus::StringFormat format(&fonts_.Format());
  format.SetAlignment(ToAlignment(align));
  format.SetLineAlignment(Gdiplus::StringAlignmentCenter);
  Gdiplus::SolidBrush brush(ToColor(color));
  Gdiplus::RectF box = ToRectF(rect);
  box.X += offset_x;
  if (offset_x != 0) box.Width -= offset_x;
  graphics_.SetTextRenderingHint(Gdiplus::TextRenderingHintAntiAlias);
  graphics_.DrawString(text.c_str(), static_cast<INT>(text.size()), fonts_.Get(font), box, &format, &brush);
}

void Canvas::DrawWrapped(const std::wstring& text, const RECT& rect, const FontSpec& font, Argb color,
                         TextAlign align) {
  if (text.empty() || (color >> 24) == 0) return;
  Gdiplus::StringFormat format;
  format.SetAlignment(ToAlignment(align));
  format.SetLineAlignment(Gdiplus::StringAlignmentNear);
  Gdiplus::SolidBrush brush(ToColor(color));
  graphics_.SetTextRenderingHint(Gdiplus::TextRenderingHintAntiAlias);
  graphics_.DrawString(text.c_str(), static_cast<INT>(text.size()), fonts_.Get(font), ToRectF(rect), &format,
                       &brush);
}

void Canvas::FlushForPixels() {
  graphics_.Flush(Gdiplus::FlushIntentionSync);
  GdiFlush();
}

void Canvas::FillRoundRect(const RECT& rect, float radius, Argb color) {
  if ((color >> 24) == 0 || IsRectEmpty(&rect)) return;
  FlushForPixels();
  ShapeRect shape = {static_cast<float>(rect.left), static_cast<float>(rect.top), static_cast<float>(rect.right),
                     static_cast<float>(rect.bottom)};
  xcgui::FillRoundRect(pixels_, clip_, shape, radius, color);
}

void Canvas::FrameRoundRect(const ShapeRect& rect, float radius, Argb color, float width) {
  if ((color >> 24) == 0) return;
  FlushForPixels();
  StrokeRoundRect(pixels_, clip_, rect, radius, width, color);
}

void Canvas::DrawStroke(ShapePoint from, ShapePoint to, Argb color, float width) {
  if ((color >> 24) == 0) return;
  FlushForPixels();
  StrokeLine(pixels_, clip_, from, to, width, color);
}

}  // namespace xcgui
