// The installer's state: the global class rg_Global with the program's static data, and working out the
// install, download and backup folders.
#pragma once

#include <cstdint>

#include "net/net_access.h"
#include "runtime/class_family.h"
#include "runtime/counted_ref.h"
#include "runtime/pel_object.h"
#include "runtime/pel_object_pointer.h"
#include "runtime/w_string.h"
#include "ui/element_wrappers.h"
#include "ui/image_wrappers.h"
#include "ui/window_wrappers.h"

namespace rg_Pelor_ChengXu {

// One instance lives in the startup object; it binds the download-progress handler. The static data is
// written on the UI thread before the install worker starts and only read by the worker afterwards.
class rg_Global : public CPelObject {
  PEL_OBJECT_CLASS(rg_Global, CPelObject, "rg_Pelor_ChengXu::rg_Global")

  // Creates the owner reference and binds OnDownloadProgress to NetAccess's progress event with it,
  // replacing whatever was bound before.
  rg_Global();
  // A new instance with an owner reference and binding of its own (copies share no handler state).
  rg_Global(const rg_Global& other);
  rg_Global& operator=(const rg_Global& other);
  // Empties the owner reference, so the progress handler is no longer called, and releases it.
  ~rg_Global() override;

  // Product texts.
  static CWString VersionText;
  static CWString ClientExeName;
  static CWString ProductKeyName;
  // Folders, each ending in a backslash once set.
  static CWString UiFolder;
  static CWString InstallFolder;
  static CWString TempFolder;
  static CWString BackupFolder;
  // The one network access object; constructed on the main (UI) thread, so its events arrive there.
  static rg_Pelor_ShiChuang_WangLao::rg_WangLaoFangWenLei NetAccess;
  // The nine skin pictures, loaded from resources 501 to 509.
  static constexpr int kSkinImageCount = 9;
  static rg_xc_gui::rg_XuanCaiTuPian SkinImages[kSkinImageCount];
  // The window and its elements; handles attached by BuildWindow.
  static rg_xc_gui::XWnd MainWindow;
  static rg_xc_gui::rg_JiChuYuanSu StartPage;
  static rg_xc_gui::rg_JiChuYuanSu ProgressPage;
  static rg_xc_gui::rg_JiChuYuanSu DonePage;
  static rg_xc_gui::xcann InstallButton;
  static rg_xc_gui::rg_XuanCaiBianJiKuang PathEdit;
  static rg_xc_gui::xcann BrowseButton;
  static rg_xc_gui::rg_XuanCaiJinDuTiao ProgressBar;
  static rg_xc_gui::rg_XingZhuangWenBen StatusText;
  static rg_xc_gui::xcann LaunchButton;
  static rg_xc_gui::rg_XingZhuangTuPian BannerPicture;
  // The progress page's retry button, shown when an install attempt failed.
  static rg_xc_gui::xcann RetryButton;

 protected:
  // Instances carry no data of their own beyond the object base.
  bool HasEqualFields(const rg_Global& other) const { return CPelObject::HasEqualFields(other); }

 private:
  void BindProgress();

  vexo::CountedRef<CPelObjectPointer> self_;
};

// Works out the install folder (registry, then the roaming application-data folder) with the product
// folder below it, and the download and backup folders in the temporary directory; creates all three and
// shows the install folder in the path field. Runs on the UI thread after BuildWindow.
void ResolveInstallLocations();

// The path field's text for an install folder: "固定目录:" followed by the folder.
CWString PathFieldText(const CWString& install_folder);

}  // namespace rg_Pelor_ChengXu
