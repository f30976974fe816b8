#include "app/phases/download.h"

#include "app/install_log.h"
#include "runtime/pel_mem.h"
#include "runtime/text_array.h"
#include "runtime/win/windows_api.h"

namespace vexo::app {

namespace {

// Writes `body` to `part_path`, flushes it to the disk and renames it to `file_path`.
bool SaveWhole(const CPelMem& body, const CWString& part_path, const CWString& file_path) {
  if (!body.WriteToFile(part_path.GetText())) {
    ::DeleteFileW(part_path.GetText());
    return false;
  }
  if (!::MoveFileExW(part_path.GetText(), file_path.GetText(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    ::DeleteFileW(part_path.GetText());
    return false;
  }
  return true;
}

}  // namespace

InstallOutcome DownloadPackage(rg_Pelor_ShiChuang_WangLao::rg_WangLaoFangWenLei& net, const CWString& url,
                               const CWString& file_path) {
  ::DeleteFileW(file_path.GetText());
  LogFormat(L"download: GET %s", url.GetText());
  const CWString empty;
  rg_Pelor_ShiChuang_WangLao::rg_WangYeFangWenXiangYingLei response =
      net.WebAccess(url, CWString(L"GET"), MakeNullObject<CPelMem>(),
                    MakeNullObject<rg_Pelor_JiBen::rg_WenBenShuZuLei>(), empty, empty, empty, empty, empty);
  const CPelMem& body = response.GetBody();
  LogFormat(L"download: status %d, %d bytes, %d ms", response.GetStatusCode(), body.GetLength(),
            static_cast<int>(response.GetTotalTime() / 1000));

  InstallOutcome outcome;
  if (response.GetStatusCode() == 0) {
    // Headers or bytes that arrived before the failure show that the server was reached.
    const bool reached = body.GetLength() > 0 || response.GetHeaderLines().GetCount() > 0;
    outcome.failure = reached ? InstallFailure::kConnectionLost : InstallFailure::kNoConnection;
  } else if (response.GetStatusCode() != 200) {
    outcome.failure = InstallFailure::kHttpStatus;
    outcome.http_status = response.GetStatusCode();
  } else if (!SaveWhole(body, CWString::Concat(file_path, L".part"), file_path)) {
    outcome.failure = InstallFailure::kDiskWrite;
  }
  LogFormat(L"download: %s -> %s", FailureName(outcome.failure), file_path.GetText());
  return outcome;
}

}  // namespace vexo::app
