// Unpack phase: the verified package into the install folder, with the 7-Zip console when the system
// folder has one, else with the built-in ZIP extraction.
#pragma once

#include "app/install_outcome.h"
#include "runtime/w_string.h"

namespace vexo::app {

// The 7-Zip command line that extracts `package_path` into `install_folder` (which ends in a backslash),
// overwriting without asking; both paths quoted.
CWString SevenZipCommandLine(const CWString& seven_zip, const CWString& package_path,
                             const CWString& install_folder);

// Extracts every entry of the ZIP archive `package_path` below `install_folder` (ending in a backslash),
// creating folders and overwriting files. Entry names must have passed IsSafeEntryName. false when the
// archive cannot be read, an entry's data is damaged (CRC) or a file or folder cannot be written; what
// was written before the failure stays.
bool ExtractZip(const CWString& package_path, const CWString& install_folder);

// Unpacks with `seven_zip` when that file exists (success is its exit code 0), else with ExtractZip.
// kUnpackFailed on failure.
InstallOutcome UnpackPackage(const CWString& seven_zip, const CWString& package_path,
                             const CWString& install_folder);

}  // namespace vexo::app
