// Creating a folder together with every missing folder above it.
#pragma once

namespace vexo::sys {

// Creates the folder `path` (a trailing backslash is allowed) and any missing parents. Returns 1 when the
// path names an existing folder afterwards, whether created now or before; 0 for a null or empty path or
// when a folder could not be created (a parent that is a file, a missing drive, a path Windows refuses).
// A bare drive such as "D:" gives 1 without touching the disk. Folders created before a failure remain.
int CreateFolderTree(const wchar_t* path);

}  // namespace vexo::sys
