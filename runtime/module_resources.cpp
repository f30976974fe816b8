// The application instance's resource operations (declared with CPelAppInstance).
#include "runtime/module_resources.h"

#include <cwchar>
#include <vector>

#include "runtime/app_instance.h"
#include "runtime/dib_image.h"
#include "runtime/pel_mem.h"
#include "runtime/w_string.h"
#include "runtime/win/scoped_handles.h"
#include "runtime/win/scoped_image_list.h"
#include "runtime/win/windows_api.h"

namespace {

constexpr int kStringBufferStep = 4100;
constexpr wchar_t kByteOrderMark = 0xFEFF;
// Colour that image lists made from bitmaps treat as transparent.
constexpr COLORREF kImageListMaskColour = RGB(0xFF, 0x00, 0xFF);

// Any function of this module: its address tells which module holds the program's code.
void CodeAnchor() {}

// Resource ids are 16-bit; anything else would be taken for a pointer to a resource name.
bool IsResourceId(int id) { return id > 0 && id <= 0xFFFF; }

struct RawResource {
  const void* data = nullptr;
  DWORD size = 0;
};

// The bytes of RCDATA resource `id` of `module`, mapped with the module; false when missing or unreadable.
bool FindRawResource(HMODULE module, int id, RawResource* raw) {
  if (!IsResourceId(id)) return false;
  HRSRC found = ::FindResourceW(module, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(10));
  if (found == nullptr) return false;
  HGLOBAL loaded = ::LoadResource(module, found);
  if (loaded == nullptr) return false;
  raw->data = ::LockResource(loaded);
  raw->size = ::SizeofResource(module, found);
  return raw->data != nullptr;
}

// An image list of square-ish images as tall as `bitmap` (width rounded up to even), with magenta as the
// transparent colour. Takes `bitmap` over and deletes it once the list holds a copy. Null on failure.
HANDLE ImageListFromBitmap(HBITMAP bitmap) {
  vexo::win::ScopedBitmap source(bitmap);
  BITMAP info{};
  if (!source || ::GetObjectW(source.get(), sizeof(info), &info) == 0) return nullptr;
  const int height = info.bmHeight < 0 ? -info.bmHeight : info.bmHeight;
  const int width = height + (height & 1);
  vexo::win::ScopedImageList list(::ImageList_Create(width, height, ILC_COLOR32 | ILC_MASK, 0, 1));
  if (!list || ::ImageList_AddMasked(list.get(), source.get(), kImageListMaskColour) < 0) return nullptr;
  return reinterpret_cast<HANDLE>(list.release());
}

}  // namespace

HMODULE CPelAppInstance::GetModule() {
  if (instance_ != nullptr) return instance_;
  MEMORY_BASIC_INFORMATION region{};
  if (::VirtualQuery(reinterpret_cast<const void*>(&CodeAnchor), &region, sizeof(region)) == 0) return nullptr;
  return static_cast<HMODULE>(region.AllocationBase);
}

void* CPelAppInstance::Reserved() { return nullptr; }

bool CPelAppInstance::LoadStringResource(int id, CWString& text) {
  text.Clear();
  if (!IsResourceId(id)) return false;
  // LoadStringW cuts a string that does not fit; a full buffer means it may have, so try a larger one.
  std::vector<wchar_t> buffer;
  for (int capacity = kStringBufferStep;; capacity += kStringBufferStep) {
    buffer.assign(static_cast<std::size_t>(capacity), L'\0');
    const int copied = ::LoadStringW(GetModule(), static_cast<UINT>(id), buffer.data(), capacity);
    if (copied <= 0) return false;
    if (copied < capacity - 1) {
      text.SetChars(buffer.data(), copied);
      return true;
    }
  }
}

HANDLE CPelAppInstance::LoadImageResource(int kind, int id) {
  if (!IsResourceId(id)) return nullptr;
  switch (kind) {
    case vexo::kImageBitmap:
    case vexo::kImageList: {
      RawResource raw;
      if (!FindRawResource(GetModule(), id, &raw)) return nullptr;
      HBITMAP bitmap = BitmapFromMemory(raw.data, static_cast<int>(raw.size));
      if (kind == vexo::kImageBitmap || bitmap == nullptr) return bitmap;
      return ImageListFromBitmap(bitmap);
    }
    case vexo::kImageCursor:
      return ::LoadCursorW(GetModule(), MAKEINTRESOURCEW(id));
    case vexo::kImageIcon:
      return ::LoadIconW(GetModule(), MAKEINTRESOURCEW(id));
    default:
      return nullptr;
  }
}

HANDLE CPelAppInstance::LoadImageFile(int kind, const CWString& path) {
  if (path.IsEmpty()) return nullptr;
  switch (kind) {
    case vexo::kImageBitmap:
    case vexo::kImageList: {
      DibImage image;
      if (!image.LoadFromFile(gdiplus_, path.GetText())) return nullptr;
      HBITMAP bitmap = image.Detach();
      return kind == vexo::kImageBitmap ? bitmap : ImageListFromBitmap(bitmap);
    }
    case vexo::kImageCursor:
      return ::LoadImageW(nullptr, path.GetText(), IMAGE_CURSOR, 0, 0, LR_LOADFROMFILE);
    case vexo::kImageIcon:
      return ::LoadImageW(nullptr, path.GetText(), IMAGE_ICON, 0, 0, LR_LOADFROMFILE);
    default:
      return nullptr;
  }
}

HBITMAP CPelAppInstance::BitmapFromMemory(const void* data, int size) {
  DibImage image;
  if (!image.LoadFromMemory(gdiplus_, data, size)) return nullptr;
  return image.Detach();
}

bool CPelAppInstance::LoadTextResource(int id, CWString& text) {
  text.Clear();
  CPelMem raw;
  if (!LoadRawData(id, raw)) return false;
  const auto* units = static_cast<const wchar_t*>(raw.GetData());
  std::size_t count = static_cast<std::size_t>(raw.GetLength()) / sizeof(wchar_t);
  if (count > 0 && units[0] == kByteOrderMark) {
    ++units;
    --count;
  }
  text.SetChars(units, static_cast<int>(count > 0 ? ::wcsnlen(units, count) : 0));
  return true;
}

bool CPelAppInstance::LoadRawData(int id, CPelMem& buffer) {
  buffer.SetLength(0);
  if (id == 0) return true;
  RawResource raw;
  if (!FindRawResource(GetModule(), id, &raw)) return false;
  buffer.AssignBytes(raw.data, static_cast<std::int32_t>(raw.size));
  return true;
}
