// The full path of the running program's file.
#pragma once

#include <string>

namespace vexo::product {

// The path the running program was started from, however long; the empty text if Windows cannot give it.
std::wstring ProgramPath();

}  // namespace vexo::product
