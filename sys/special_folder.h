// Well-known Windows folders by a small index, as paths ending in a backslash.
#pragma once

#include <cstdint>

#include "runtime/w_string.h"

namespace vexo::sys {

// Indices of GetSpecialFolder.
enum SpecialFolder : std::uint32_t {
  kMyDocuments = 1,
  kFavorites = 2,
  kDesktop = 3,
  kFonts = 4,
  kStartMenu = 5,
  kStartMenuPrograms = 6,
  kStartup = 7,
  kAppData = 8,
  kWindows = 9,
  kSystem = 10,
  kTemporary = 11,
};

// The folder's path with one trailing backslash (a new text owned by the caller). An index outside 1-11,
// or a folder Windows cannot give (including a missing shell folder, which is never created), gives the
// empty text.
CWString GetSpecialFolder(std::uint32_t index);

}  // namespace vexo::sys
