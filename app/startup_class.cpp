#include "app/startup_class.h"

#include "app/install_log.h"
#include "app/install_worker.h"
#include "app/installer_window.h"
#include "app/single_instance.h"
#include "net/net_settings.h"
#include "runtime/app_instance.h"
#include "runtime/binary_stream.h"
#include "runtime/pel_mem.h"
#include "runtime/win/windows_api.h"
#include "sys/folder_tree.h"
#include "sys/special_folder.h"
#include "xcgui/xcgui.h"

namespace rg_Pelor_ChengXu {

namespace {

constexpr int kUiArchiveResource = 500;
constexpr const wchar_t* kPassword = L"730418";
constexpr long kStallSeconds = 20;

}  // namespace

void rg_QiDongLei::Start() {
  if (!vexo::app::ClaimSingleInstance()) ::ExitProcess(0);
  vexo::app::OpenInstallLog();
  // The skin pictures decode on another core while the resource pack and the layouts load.
  DecodeSkinAhead();
  // A download that receives nothing for this long has stalled; the worker says so and retries.
  vexo::net::NetSettings settings = vexo::net::GetNetSettings();
  settings.stall_timeout_s = kStallSeconds;
  vexo::net::SetNetSettings(settings);
  rg_Global::UiFolder = CWString::Concat(vexo::sys::GetSpecialFolder(vexo::sys::kTemporary), L"VexoInstallUI\\");
  vexo::sys::CreateFolderTree(rg_Global::UiFolder.GetText());
  const CWString archive = CWString::Concat(rg_Global::UiFolder, L"resource.zip");
  CPelMem staged;
  vexo::TheAppInstance().LoadRawData(kUiArchiveResource, staged);
  staged.WriteToFile(archive.GetText());

  XInitXCGUI(FALSE);
  XC_LoadResourceZip(archive.GetText(), L"resource.res", kPassword);
  BuildWindow();
  ResolveInstallLocations();
  // While the user reads the start page, the download's checks and proxy choice get ready.
  PrepareDownload();
  vexo::app::LogFormat(L"start: install folder %s, download folder %s", rg_Global::InstallFolder.GetText(),
                       rg_Global::TempFolder.GetText());
  XRunXCGUI();
  XExitXCGUI();
  vexo::app::LogLine(CWString(L"exit: window closed"));
  ::ExitProcess(0);
}

void rg_QiDongLei::LoadFrom(vexo::BinaryStream& stream) {
  if (stream.GetError() == 0) global_.LoadFrom(stream);
  if (stream.GetError() == 0) handlers_.LoadFrom(stream);
}

void rg_QiDongLei::SaveTo(vexo::BinaryStream& stream) const {
  if (stream.GetError() == 0) global_.SaveTo(stream);
  if (stream.GetError() == 0) handlers_.SaveTo(stream);
}

}  // namespace rg_Pelor_ChengXu
