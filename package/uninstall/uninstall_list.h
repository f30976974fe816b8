// The package's list of installed files: reading it and refusing any entry that could leave the install
// folder.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vexo::uninstall {

struct UninstallList {
  // Paths relative to the install folder with backslash separators, in list order.
  std::vector<std::wstring> entries;
  // 1-based number of the first refused line, 0 when every line was accepted.
  int refused_line = 0;
  // That line as read (invalid UTF-8 gives the empty text).
  std::wstring refused_text;
};

// Parses the list's bytes: UTF-8 with or without a byte-order mark, one path per line, lines ending in LF
// or CRLF, empty lines skipped, "/" and "\" both accepted as separators. A line that is not valid UTF-8 or
// not a plain relative path (see IsPlainRelativePath) is refused; parsing stops at the first refused line
// and `entries` then holds only the lines accepted before it.
UninstallList ParseUninstallList(std::string_view bytes);

// True for a path that names something strictly inside the folder it is relative to: non-empty components
// separated by "\" or "/", none of them "." or "..", none ending in a dot or a space (Windows would drop
// those and could turn a name into ".."), and no drive, root, colon, wildcard or other character that
// Windows does not allow in a file name.
bool IsPlainRelativePath(std::wstring_view path);

}  // namespace vexo::uninstall
