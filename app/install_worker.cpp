#include "app/install_worker.h"

#include <atomic>
#include <cstdint>
#include <optional>
#include <vector>

#include "app/close_guard.h"
#include "app/download_meter.h"
#include "app/install_log.h"
#include "app/installer_state.h"
#include "app/installer_window.h"
#include "app/phases/download.h"
#include "app/phases/register.h"
#include "app/phases/signature.h"
#include "app/phases/unpack.h"
#include "app/phases/verify.h"
#include "app/package_public_key.h"
#include "app/progress_percent.h"
#include "net/server_certificate_check.h"
#include "net/system_proxy.h"
#include "runtime/win/com_ptr.h"
#include "sys/special_folder.h"
#include "xcgui/xcgui.h"

namespace rg_Pelor_ChengXu {

namespace {

using vexo::app::InstallFailure;
using vexo::app::InstallOutcome;

// The package's address, fixed at build time.
constexpr const wchar_t* kPackageUrl = L"" VEXO_PACKAGE_URL;

CWString PackagePath() { return CWString::Concat(rg_Global::TempFolder, L"installpack.zip"); }

// With a public key built in, the package must come with installpack.zip.sig, which must verify.
// `arrived` is the package's hash taken during its download, if there is one.
InstallOutcome CheckSignature(const vexo::app::DownloadOptions& options,
                              const std::optional<vexo::app::HashedPackage>& arrived) {
  InstallOutcome outcome;
#ifdef VEXO_PACKAGE_PUBLIC_KEY_BYTES
  static const std::vector<std::uint8_t> kPublicKey = {VEXO_PACKAGE_PUBLIC_KEY_BYTES};
  // An empty answer is no package at all, whatever its signature says.
  WIN32_FILE_ATTRIBUTE_DATA package{};
  if (::GetFileAttributesExW(PackagePath().GetText(), GetFileExInfoStandard, &package) && package.nFileSizeHigh == 0 &&
      package.nFileSizeLow == 0) {
    outcome.failure = InstallFailure::kDamagedPackage;
    return outcome;
  }
  const CWString signature = CWString::Concat(PackagePath(), L".sig");
  vexo::app::DownloadOptions signature_options = options;
  signature_options.arrived_hash = nullptr;
  signature_options.reuse_connection = true;
  outcome = vexo::app::DownloadPackage(rg_Global::NetAccess, CWString::Concat(CWString(kPackageUrl), L".sig"),
                                       signature, signature_options);
  if (outcome.failure == InstallFailure::kHttpStatus && outcome.http_status == 404) {
    outcome = InstallOutcome();
    outcome.failure = InstallFailure::kSignatureMissing;
  }
  if (!outcome.ok()) return outcome;
  switch (vexo::app::VerifyPackageSignature(PackagePath(), signature, kPublicKey, arrived ? &*arrived : nullptr)) {
    case vexo::app::SignatureCheck::kValid:
      break;
    case vexo::app::SignatureCheck::kMissing:
      outcome.failure = InstallFailure::kSignatureMissing;
      break;
    default:
      outcome.failure = InstallFailure::kSignatureInvalid;
      break;
  }
  // A package that failed its check is not kept where it could be taken for a good one.
  if (!outcome.ok()) ::DeleteFileW(PackagePath().GetText());
#else
  (void)options;
  (void)arrived;
#endif
  return outcome;
}

bool ClientArrived() {
  const CWString client = CWString::Concat(rg_Global::InstallFolder, rg_Global::ClientExeName);
  const DWORD attributes = ::GetFileAttributesW(client.GetText());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

InstallOutcome UnpackAndRegister() {
  const CWString package = PackagePath();
  const CWString seven_zip = CWString::Concat(vexo::sys::GetSpecialFolder(vexo::sys::kSystem), L"7z.exe");
  InstallOutcome outcome = vexo::app::UnpackPackage(seven_zip, package, rg_Global::InstallFolder);
  if (!outcome.ok()) return outcome;
  if (!ClientArrived()) {
    vexo::app::LogFormat(L"check: %s%s is missing after the unpack", rg_Global::InstallFolder.GetText(),
                         rg_Global::ClientExeName.GetText());
    outcome.failure = InstallFailure::kClientMissing;
    return outcome;
  }
  vexo::app::ProductRegistration product{rg_Global::InstallFolder, rg_Global::ClientExeName,
                                         rg_Global::VersionText, rg_Global::ProductKeyName};
  return vexo::app::RegisterProduct(product);
}

// Whether progress reports are the package's: the signature file's small download that follows must not
// take over the bar and the status line.
std::atomic<bool> package_progress{false};

// UI-thread callback: the status line names the step after the download (a text of static storage).
vint ShowStep(vint text) { return rg_Global::StatusText.SetText(CWString(reinterpret_cast<const wchar_t*>(text))); }

// UI-thread callback: the status line says which automatic retry is coming.
vint ShowRetry(vint retry) {
  CWString text;
  text.Format(L"网络中断，正在重试 (%d/3)…", static_cast<int>(retry));
  return rg_Global::StatusText.SetText(text);
}

}  // namespace

InstallOutcome InstallPackage() {
  vexo::win::ScopedComInit com;
  std::int64_t unpacked_bytes = 0;
  InstallOutcome outcome = vexo::app::VerifyPackage(PackagePath(), &unpacked_bytes);
  if (outcome.ok()) outcome = vexo::app::CheckRoom(rg_Global::InstallFolder, unpacked_bytes);
  if (!outcome.ok()) return outcome;
  vexo::app::EnterSystemChanges();
  outcome = UnpackAndRegister();
  vexo::app::LeaveSystemChanges();
  return outcome;
}

DWORD WINAPI InstallWorker(LPVOID) {
  vexo::win::ScopedComInit com;
  vexo::app::DownloadOptions options;
  options.on_retry = [](int retry, int) { XC_CallUiThread(&ShowRetry, retry); };
  // The proxy the user set up for Windows, if any; none means a direct connection.
  options.proxy = vexo::net::SystemProxyFor(CWString(kPackageUrl));
#ifdef VEXO_PACKAGE_PUBLIC_KEY_BYTES
  // The signature check needs the package's hash: taken as the bytes arrive, it costs no extra read.
  std::optional<vexo::app::HashedPackage> arrived;
  options.arrived_hash = &arrived;
#else
  const std::optional<vexo::app::HashedPackage> arrived;
#endif
  package_progress = true;
  InstallOutcome outcome =
      vexo::app::DownloadPackage(rg_Global::NetAccess, CWString(kPackageUrl), PackagePath(), options);
  // The download has delivered its last report before it returned.
  package_progress = false;
  if (outcome.ok()) {
    XC_CallUiThread(&ShowStep, reinterpret_cast<vint>(L"正在校验安装包…"));
    outcome = CheckSignature(options, arrived);
  }
  if (outcome.ok()) {
    XC_CallUiThread(&ShowStep, reinterpret_cast<vint>(L"正在安装，请稍候…"));
    outcome = InstallPackage();
  }
  vexo::app::LogFormat(L"outcome: %s", outcome.ok() ? L"installed" : vexo::app::FailureName(outcome.failure));
  if (outcome.ok()) {
    XC_CallUiThread(&ShowDonePage, 0);
  } else {
    // The call waits for the UI thread, so the outcome outlives its use there.
    XC_CallUiThread(&ShowFailurePage, reinterpret_cast<vint>(&outcome));
  }
  return 0;
}

std::int32_t OnDownloadProgress(CPelObject*, CPelObject* source, std::uint32_t, std::int64_t download_total,
                                std::int64_t downloaded, std::int64_t, std::int64_t) {
  if (source != &rg_Global::NetAccess || !package_progress) return 0;
  // A resumed transfer counts on from the bytes held before it.
  const std::int64_t base = vexo::app::DownloadProgressBase();
  const std::int64_t total = download_total > 0 ? base + download_total : 0;
  const std::int64_t received = base + downloaded;
  const int position = vexo::app::ProgressPercent(total, received);
  if (position != rg_Global::ProgressBar.GetPos()) {
    rg_Global::ProgressBar.SetPos(position);
    rg_Global::ProgressBar.Redraw(FALSE);
  }
  static vexo::app::DownloadMeter meter;
  if (received > 0 && meter.Report(total, received, ::GetTickCount())) rg_Global::StatusText.SetText(meter.Text());
  return 0;
}

void PrepareDownload() {
  vexo::net::PrepareServerChecks();
  vexo::net::PrepareSystemProxyFor(CWString(kPackageUrl));
}

bool StartInstallWorker() {
  HANDLE thread = ::CreateThread(nullptr, 0, &InstallWorker, nullptr, 0, nullptr);
  if (thread == nullptr) return false;
  ::CloseHandle(thread);
  return true;
}

}  // namespace rg_Pelor_ChengXu
