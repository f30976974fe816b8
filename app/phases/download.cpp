#include "app/phases/download.h"

#include <memory>

#include "app/install_log.h"
#include "net/file_sink.h"
#include "runtime/pel_mem.h"
#include "runtime/text_array.h"
#include "runtime/win/windows_api.h"

namespace vexo::app {

namespace {

// What one GET into the part file ended with.
InstallOutcome Fetch(rg_Pelor_ShiChuang_WangLao::rg_WangLaoFangWenLei& net, const CWString& url,
                     const CWString& part_path) {
  InstallOutcome outcome;
  vexo::net::FileSink sink(part_path.GetText());
  if (!sink.ok()) {
    LogFormat(L"download: cannot create %s", part_path.GetText());
    outcome.failure = InstallFailure::kDiskWrite;
    return outcome;
  }
  const CWString empty;
  const rg_Pelor_ShiChuang_WangLao::rg_WangYeFangWenXiangYingLei response =
      net.WebAccess(url, CWString(L"GET"), MakeNullObject<CPelMem>(),
                    MakeNullObject<rg_Pelor_JiBen::rg_WenBenShuZuLei>(), empty, empty, empty, empty, empty, &sink);
  LogFormat(L"download: status %d, %d bytes, %d ms", response.GetStatusCode(), static_cast<int>(sink.bytes()),
            static_cast<int>(response.GetTotalTime() / 1000));
  if (response.GetStatusCode() == 0) {
    // A sink that refused bytes could not write them; otherwise headers or bytes that arrived before the
    // failure show that the server was reached.
    const bool reached = sink.bytes() > 0 || response.GetHeaderLines().GetCount() > 0;
    outcome.failure = !sink.ok()  ? InstallFailure::kDiskWrite
                      : reached   ? InstallFailure::kConnectionLost
                                  : InstallFailure::kNoConnection;
  } else if (response.GetStatusCode() != 200) {
    outcome.failure = InstallFailure::kHttpStatus;
    outcome.http_status = response.GetStatusCode();
  } else if (!sink.Finish()) {
    outcome.failure = InstallFailure::kDiskWrite;
  }
  return outcome;
}

}  // namespace

InstallOutcome DownloadPackage(rg_Pelor_ShiChuang_WangLao::rg_WangLaoFangWenLei& net, const CWString& url,
                               const CWString& file_path) {
  ::DeleteFileW(file_path.GetText());
  LogFormat(L"download: GET %s", url.GetText());
  const CWString part_path = CWString::Concat(file_path, L".part");
  InstallOutcome outcome = Fetch(net, url, part_path);
  if (outcome.ok() &&
      !::MoveFileExW(part_path.GetText(), file_path.GetText(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    outcome.failure = InstallFailure::kDiskWrite;
  }
  if (!outcome.ok()) ::DeleteFileW(part_path.GetText());
  LogFormat(L"download: %s -> %s", FailureName(outcome.failure), file_path.GetText());
  return outcome;
}

}  // namespace vexo::app
