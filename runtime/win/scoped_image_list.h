// Holder for an image list made with ImageList_Create, destroyed with ImageList_Destroy.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include "runtime/win/scoped_generic.h"

namespace vexo::win {

struct ImageListTraits {
  static HIMAGELIST InvalidValue() { return nullptr; }
  static bool IsValid(HIMAGELIST list) { return list != nullptr; }
  static void Free(HIMAGELIST list) { ::ImageList_Destroy(list); }
};

using ScopedImageList = ScopedGeneric<HIMAGELIST, ImageListTraits>;

}  // namespace vexo::win
