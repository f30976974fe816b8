// Verify phase: the downloaded package must be a readable ZIP archive whose every entry stays inside the
// install folder, before either unpacker touches the disk.
#pragma once

#include "app/install_outcome.h"
#include "runtime/w_string.h"

namespace vexo::app {

// Whether an entry name (as stored in the archive, UTF-8, '/' or '\' separated) names a place inside the
// folder it is unpacked into: not empty, not absolute ("/x", "\x", "\\server"), no drive or stream colon,
// no ".." component.
bool IsSafeEntryName(const char* name);

// Opens the package at `package_path` and checks its directory and every entry name. kDamagedPackage
// when it is missing or not a consistent ZIP archive, kUnsafePackage when an entry is not safe.
InstallOutcome VerifyPackage(const CWString& package_path);

}  // namespace vexo::app
