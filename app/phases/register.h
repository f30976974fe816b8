// Register phase: the three shortcuts, the uninstall entry under both key paths, and the shell's refresh.
#pragma once

#include "app/install_outcome.h"
#include "runtime/w_string.h"

namespace vexo::app {

// What the register phase writes about the installed product.
struct ProductRegistration {
  CWString install_folder;  // ends in a backslash
  CWString client_exe_name;
  CWString version;
  CWString key_name;  // the Uninstall sub-key
};

// The two uninstall key paths under HKEY_LOCAL_MACHINE for `key_name`, in the order they are written.
CWString UninstallKeyPath(int which, const CWString& key_name);

// Creates "Vexo助手.lnk" on the desktop, in the Start menu and in its programs folder, then writes the
// seven uninstall values under both key paths, then asks the shell to refresh. Needs COM on the calling
// thread. When any link or value cannot be written, removes every link and key this call wrote and
// returns kRegistrationFailed, so the product is never left half-registered.
InstallOutcome RegisterProduct(const ProductRegistration& product);

}  // namespace vexo::app
