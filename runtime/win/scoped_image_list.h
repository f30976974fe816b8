// Holder for an image list made with ImageList_Create, destroyed with ImageList_Destroy.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include "runtime/win/scoped_generic.h"

namespace vexo::win {

using ScopedImageList = ScopedNullHandle<HIMAGELIST, &::ImageList_Destroy>;

}  // namespace vexo::win
