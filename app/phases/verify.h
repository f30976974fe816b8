// Verify phase: the downloaded package must be a readable ZIP archive whose every entry stays inside the
// install folder, before either unpacker touches the disk.
#pragma once

#include <cstdint>

#include "app/install_outcome.h"
#include "runtime/w_string.h"

namespace vexo::app {

// Whether an entry name (as stored in the archive, UTF-8, '/' or '\' separated) names a place inside the
// folder it is unpacked into: not empty, not absolute ("/x", "\x", "\\server"), no drive or stream colon,
// no ".." component.
bool IsSafeEntryName(const char* name);

// Opens the package at `package_path` and checks its directory and every entry name. kDamagedPackage
// when it is missing or not a consistent ZIP archive, kUnsafePackage when an entry is not safe. On
// success `unpacked_bytes` (when not null) receives the sum of the entries' unpacked sizes.
InstallOutcome VerifyPackage(const CWString& package_path, std::int64_t* unpacked_bytes);

// Whether the drive of `folder` (or of its nearest existing parent) has `needed` bytes free; kDiskSpace
// with both figures when not. A drive whose free space Windows cannot tell passes.
InstallOutcome CheckRoom(const CWString& folder, std::int64_t needed);

}  // namespace vexo::app
