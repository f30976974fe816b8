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
  kStalled,             // the server stopped sending in the middle of the package
  kSecureConnection,    // the server's certificate could not be verified (TLS)
  kTooManyRedirects,    // the download address redirects without end
  kHttpStatus,          // the server answered with a status other than 200
  kDiskSpace,           // a drive has too little free space for the package or the product
  kDiskWrite,           // the package could not be saved in the download folder
  kSignatureMissing,    // the package came without its signature
  kSignatureInvalid,    // the signature does not prove the package comes unchanged from the publisher
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
  // For kDiskSpace: the bytes needed and the bytes free on the drive.
  std::int64_t needed_bytes = 0;
  std::int64_t free_bytes = 0;

  bool ok() const { return failure == InstallFailure::kNone; }
};

// The user-facing description of a failed outcome (a new text owned by the caller); empty for success.
CWString DescribeOutcome(const InstallOutcome& outcome);

// A byte count as the user reads it: "812.5 MB", "1.2 GB".
CWString SizeText(std::int64_t bytes);

// A short fixed name of the failure for the install log ("no-connection", ...).
const wchar_t* FailureName(InstallFailure failure);

}  // namespace vexo::app
