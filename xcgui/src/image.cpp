#include "xcgui/src/image.h"

#include <shlwapi.h>

#include "runtime/win/com_ptr.h"

namespace xcgui {

Image::~Image() { bitmap_.reset(); }

std::unique_ptr<Image> Image::Decode(IWICImagingFactory* factory, const void* data, size_t size) {
  if (!factory || !data || size == 0 || size > 0x7FFFFFFF) return nullptr;
  vexo::win::ComPtr<IStream> stream(
      SHCreateMemStream(static_cast<const BYTE*>(data), static_cast<UINT>(size)));
  vexo::win::ComPtr<IWICBitmapDecoder> decoder;
  vexo::win::ComPtr<IWICBitmapFrameDecode> frame;
  vexo::win::ComPtr<IWICFormatConverter> converter;
  if (!stream ||
      FAILED(factory->CreateDecoderFromStream(stream.get(), nullptr, WICDecodeMetadataCacheOnDemand,
                                              decoder.receive())) ||
      FAILED(decoder->GetFrame(0, frame.receive())) || FAILED(factory->CreateFormatConverter(converter.receive())) ||
      FAILED(converter->Initialize(frame.get(), GUID_WICPixelFormat32bppPBGRA, WICBitmapDitherTypeNone, nullptr, 0,
                                   WICBitmapPaletteTypeCustom))) {
    return nullptr;
  }
  UINT width = 0;
  UINT height = 0;
  if (FAILED(converter->GetSize(&width, &height)) || width == 0 || height == 0 || width > kMaxImageSide ||
      height > kMaxImageSide) {
    return nullptr;
  }

  std::unique_ptr<Image> image(new Image());
  image->width_ = static_cast<int>(width);
  image->height_ = static_cast<int>(height);
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = image->width_;
  info.bmiHeader.biHeight = -image->height_;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  image->dib_.reset(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!image->dib_ || !bits) return nullptr;
  image->pixels_ = static_cast<uint32_t*>(bits);
  UINT stride = width * 4;
  if (FAILED(converter->CopyPixels(nullptr, stride, stride * height, static_cast<BYTE*>(bits)))) return nullptr;
  for (size_t i = 0, n = static_cast<size_t>(width) * height; i < n && image->opaque_; ++i) {
    image->opaque_ = (image->pixels_[i] >> 24) == 0xFF;
  }
  image->bitmap_ = std::make_unique<Gdiplus::Bitmap>(image->width_, image->height_, static_cast<INT>(stride),
                                                     PixelFormat32bppPARGB, static_cast<BYTE*>(bits));
  if (image->bitmap_->GetLastStatus() != Gdiplus::Ok) return nullptr;
  return image;
}

}  // namespace xcgui
