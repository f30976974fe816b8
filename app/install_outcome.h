// What one install attempt ended with, and the sentence the user reads for each failure.
#pragma once

#include <cstdint>

#include "runtime/w_string.h"

namespace vexo::app {

// The first step that failed; kNone when every step succeeded.
enum class InstallFailure : std::int32_t {
  kNone,
  kNoConnection,        // no answer from the download server
  kConnectionLost,      // the transfer broke off before the package was whole
  kHttpStatus,          // the server answered with a status other than 200
  kDiskWrite,           // the package could not be saved in the download folder
  kDamagedPackage,      // the download is not a readable ZIP archive
  kUnsafePackage,       // an entry would land outside the install folder
  kUnpackFailed,        // the unpacker failed
  kClientMissing,       // the unpacked product has no client program
  kRegistrationFailed,  // shortcuts or the uninstall entry could not be written
  kNoWorker,            // the install thread could not be started
};

struct InstallOutcome {
  InstallFailure failure = InstallFailure::kNone;
  // The server's HTTP status for kHttpStatus.
  std::int32_t http_status = 0;

  bool ok() const { return failure == InstallFailure::kNone; }
};

// The user-facing description of a failed outcome (a new text owned by the caller); empty for success.
CWString DescribeOutcome(const InstallOutcome& outcome);

// A short fixed name of the failure for the install log ("no-connection", ...).
const wchar_t* FailureName(InstallFailure failure);

}  // namespace vexo::app
