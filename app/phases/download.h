// Download phase: fetches the product package over HTTPS into the download file.
#pragma once

#include "app/install_outcome.h"
#include "net/net_access.h"
#include "runtime/w_string.h"

namespace vexo::app {

// GETs `url` with `net` (progress goes to its event) and saves the body as `file_path`, writing it to
// `file_path` + ".part" in large blocks as it arrives, so memory stays flat in the package's size. The
// file exists afterwards only when the transfer succeeded with status 200 and every byte was written and
// flushed: an earlier file of that name is removed first, and the part file is renamed only then (and
// removed on any failure). Returns the failure: no connection, connection lost mid-transfer, another HTTP
// status, or a file that could not be written.
InstallOutcome DownloadPackage(rg_Pelor_ShiChuang_WangLao::rg_WangLaoFangWenLei& net, const CWString& url,
                               const CWString& file_path);

}  // namespace vexo::app
