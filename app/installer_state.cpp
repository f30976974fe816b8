#include "app/installer_state.h"

#include "app/install_worker.h"
#include "runtime/init_order.h"
#include "sys/folder_tree.h"
#include "sys/registry.h"
#include "sys/special_folder.h"

namespace rg_Pelor_ChengXu {

// The program's static data, constructed in this order after the runtime and the network library.
CWString rg_Global::VersionText VEXO_INIT_ORDER(kProgramStatics){L"4.0.1"};
CWString rg_Global::ClientExeName VEXO_INIT_ORDER(kProgramStatics){L"VexoClient.exe"};
CWString rg_Global::ProductKeyName VEXO_INIT_ORDER(kProgramStatics){L"VexoProxy"};
CWString rg_Global::UiFolder VEXO_INIT_ORDER(kProgramStatics);
CWString rg_Global::InstallFolder VEXO_INIT_ORDER(kProgramStatics);
CWString rg_Global::TempFolder VEXO_INIT_ORDER(kProgramStatics);
CWString rg_Global::BackupFolder VEXO_INIT_ORDER(kProgramStatics);
rg_Pelor_ShiChuang_WangLao::rg_WangLaoFangWenLei rg_Global::NetAccess VEXO_INIT_ORDER(kProgramStatics);
rg_xc_gui::rg_XuanCaiTuPian rg_Global::SkinImages[kSkinImageCount] VEXO_INIT_ORDER(kProgramStatics);
rg_xc_gui::XWnd rg_Global::MainWindow VEXO_INIT_ORDER(kProgramStatics);
rg_xc_gui::rg_JiChuYuanSu rg_Global::StartPage VEXO_INIT_ORDER(kProgramStatics);
rg_xc_gui::rg_JiChuYuanSu rg_Global::ProgressPage VEXO_INIT_ORDER(kProgramStatics);
rg_xc_gui::rg_JiChuYuanSu rg_Global::DonePage VEXO_INIT_ORDER(kProgramStatics);
rg_xc_gui::xcann rg_Global::InstallButton VEXO_INIT_ORDER(kProgramStatics);
rg_xc_gui::rg_XuanCaiBianJiKuang rg_Global::PathEdit VEXO_INIT_ORDER(kProgramStatics);
rg_xc_gui::xcann rg_Global::BrowseButton VEXO_INIT_ORDER(kProgramStatics);
rg_xc_gui::rg_XuanCaiJinDuTiao rg_Global::ProgressBar VEXO_INIT_ORDER(kProgramStatics);
rg_xc_gui::rg_XingZhuangWenBen rg_Global::StatusText VEXO_INIT_ORDER(kProgramStatics);
rg_xc_gui::xcann rg_Global::LaunchButton VEXO_INIT_ORDER(kProgramStatics);
rg_xc_gui::rg_XingZhuangTuPian rg_Global::BannerPicture VEXO_INIT_ORDER(kProgramStatics);
rg_xc_gui::xcann rg_Global::RetryButton VEXO_INIT_ORDER(kProgramStatics);

rg_Global::rg_Global() { BindProgress(); }

rg_Global::rg_Global(const rg_Global& other) : CPelObject(other) { BindProgress(); }

rg_Global& rg_Global::operator=(const rg_Global& other) {
  CPelObject::operator=(other);
  return *this;
}

rg_Global::~rg_Global() { self_->Clear(); }

void rg_Global::BindProgress() {
  self_ = vexo::CountedRef<CPelObjectPointer>::Adopt(new CPelObjectPointer(this));
  NetAccess.GetProgressEvent().Bind(&OnDownloadProgress, self_.get(), 0);
  // The handler only redraws: the download never waits for the UI thread, which shows the latest counts.
  NetAccess.GetTransfer().SetProgressDelivery(
      rg_Pelor_ShiChuang_WangLao::rg_WangLaoChuanShuLei::ProgressDelivery::kLatestWithoutWaiting);
}

CWString PathFieldText(const CWString& install_folder) {
  return CWString::Concat(CWString(L"固定目录:"), install_folder);
}

void ResolveInstallLocations() {
  using vexo::sys::GetSpecialFolder;
  const CWString no_default;
  CWString folder =
      vexo::sys::ReadRegistryText(CWString(L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\ProgramFilesPath"), no_default);
  if (folder.IsEmpty()) {
    folder = vexo::sys::ReadRegistryText(CWString(L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\ProgramFilesDir"),
                                         no_default);
  }
  if (folder.IsEmpty()) {
    folder = GetSpecialFolder(vexo::sys::kAppData);
    // Only a backslash in the last position can match.
    const int length = folder.GetLength();
    folder.Replace(L"\\", L"", length > 0 ? length - 1 : 0, 1);
  }
  rg_Global::InstallFolder = CWString::Concat(CWString::Concat(folder, L"\\"), L"VexoProxy\\");
  const CWString temporary = GetSpecialFolder(vexo::sys::kTemporary);
  rg_Global::TempFolder = CWString::Concat(temporary, L"VexoProxy_temp\\");
  rg_Global::BackupFolder = CWString::Concat(temporary, L"VexoProxy_Backup\\");

  vexo::sys::CreateFolderTree(rg_Global::InstallFolder.GetText());
  vexo::sys::CreateFolderTree(rg_Global::TempFolder.GetText());
  vexo::sys::CreateFolderTree(rg_Global::BackupFolder.GetText());
  rg_Global::PathEdit.SetText(PathFieldText(rg_Global::InstallFolder));
}

}  // namespace rg_Pelor_ChengXu
