// The install worker: the background thread that downloads, verifies, unpacks and registers the product,
// and the progress handler that moves the progress bar while it downloads.
#pragma once

#include <cstdint>

#include "app/install_outcome.h"
#include "runtime/pel_object.h"
#include "runtime/win/windows_api.h"

namespace rg_Pelor_ChengXu {

// Thread procedure (no parameter): COM for the thread, the download, then InstallPackage; hands the done
// page or the failure page to the UI thread. Started by StartInstallWorker.
DWORD WINAPI InstallWorker(LPVOID parameter);

// The steps after a whole download, on the worker thread: verify the package, unpack it, check that the
// client program arrived, create the shortcuts and the uninstall entry. A close of the window while they
// run is held back until they end. Returns the first failure.
vexo::app::InstallOutcome InstallPackage();

// Progress handler of NetAccess (UI thread): moves the progress bar to the whole percentage, touching it
// only when that number changes. Ignores events of any other source. Always 0.
std::int32_t OnDownloadProgress(CPelObject* owner, CPelObject* source, std::uint32_t user_value,
                                std::int64_t download_total, std::int64_t downloaded, std::int64_t upload_total,
                                std::int64_t uploaded);

// Starts, on threads of their own, what the download needs before the click: the trusted roots of the
// server check and the system proxy's choice for the package's address. Call once the start page shows.
void PrepareDownload();

// Starts InstallWorker on a new thread (the handle is not kept). false when no thread could be created.
bool StartInstallWorker();

}  // namespace rg_Pelor_ChengXu
