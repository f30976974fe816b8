// The kinds of picture the application instance loads from the program's resources or from files.
#pragma once

namespace vexo {

// The `kind` argument of CPelAppInstance::LoadImageResource and LoadImageFile.
enum ResourceImageKind : int {
  kImageBitmap = 0,
  kImageCursor = 1,
  kImageIcon = 2,
  kImageList = 3,
};

}  // namespace vexo
