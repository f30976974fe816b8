#include "app/installer_window.h"

#include "app/close_guard.h"
#include "app/install_log.h"
#include "app/install_outcome.h"
#include "app/installer_state.h"
#include "runtime/win/windows_api.h"

namespace rg_Pelor_ChengXu {

namespace {

constexpr const wchar_t* kPassword = L"730418";
constexpr int kPageTop = 255;
constexpr int kButtonClick = 34;
constexpr int kWindowClose = 16;
constexpr int kFirstSkinResource = 501;

enum SkinImage { kBanner, kBannerDone, kInstallFace, kInstallFaceHover, kInstallFacePressed, kFolderIcon,
                 kLaunchFace, kLaunchFaceHover, kLaunchFacePressed };

CWString ArchivePath() { return CWString::Concat(rg_Global::UiFolder, L"resource.zip"); }

HXCGUI LoadLayout(const wchar_t* member, HXCGUI parent) {
  return XC_LoadLayoutZip(ArchivePath().GetText(), member, kPassword, parent, nullptr);
}

void ShowOnly(rg_xc_gui::rg_JiChuYuanSu& page) {
  rg_Global::StartPage.Show(&page == &rg_Global::StartPage);
  rg_Global::ProgressPage.Show(&page == &rg_Global::ProgressPage);
  rg_Global::DonePage.Show(&page == &rg_Global::DonePage);
}

void AddFaces(rg_xc_gui::xcann& button, SkinImage normal, SkinImage hover, SkinImage pressed) {
  button.AddBkImage(element_state_flag_leave, rg_Global::SkinImages[normal]);
  button.AddBkImage(element_state_flag_stay, rg_Global::SkinImages[hover]);
  button.AddBkImage(element_state_flag_down, rg_Global::SkinImages[pressed]);
}

}  // namespace

void DecodeSkinAhead() {
  for (int i = 0; i < rg_Global::kSkinImageCount; ++i) {
    rg_xc_gui::rg_XuanCaiTuPian::DecodeResourceAhead(kFirstSkinResource + i);
  }
}

void BuildWindow() {
  rg_xc_gui::XWnd& window = rg_Global::MainWindow;
  window.AttachHandle(LoadLayout(L"main.xml", nullptr));
  window.Show(TRUE);
  window.EnableMaxWindow(FALSE);
  window.EnableDragWindow(TRUE);
  window.EnablemLimitWindowSize(TRUE);
  const CWString title(L"Vexo助手在线安装");
  window.SetTitle(title);
  ::SetWindowTextW(window.GetHWND(), title.GetText());

  rg_xc_gui::rg_JiChuYuanSu* pages[] = {&rg_Global::StartPage, &rg_Global::ProgressPage, &rg_Global::DonePage};
  const wchar_t* page_layouts[] = {L"a1.xml", L"a2.xml", L"a3.xml"};
  for (int i = 0; i < 3; ++i) pages[i]->AttachHandle(LoadLayout(page_layouts[i], window.GetObjectHandle()));
  ShowOnly(rg_Global::StartPage);
  for (rg_xc_gui::rg_JiChuYuanSu* page : pages) page->SetPosition(0, kPageTop, TRUE, adjustLayout_self, 0);
  for (rg_xc_gui::rg_JiChuYuanSu* page : pages) {
    page->EnableDrawBorder(FALSE);
    page->EnableBkTransparent(TRUE);
    page->EnableDrawFocus(FALSE);
  }

  struct NamedElement {
    const wchar_t* name;
    rg_xc_gui::rg_xcbase& wrapper;
  };
  const NamedElement elements[] = {
      {L"main_jsan", rg_Global::InstallButton}, {L"main_lj", rg_Global::PathEdit},
      {L"main_xzlj", rg_Global::BrowseButton},  {L"main_jdt", rg_Global::ProgressBar},
      {L"main_txt1", rg_Global::StatusText},    {L"main_ljty", rg_Global::LaunchButton},
      {L"main_dt", rg_Global::BannerPicture},   {L"main_retry", rg_Global::RetryButton},
  };
  for (const NamedElement& element : elements) element.wrapper.AttachHandle(XC_GetObjectByName(element.name));

  for (rg_xc_gui::xcann* button : {&rg_Global::InstallButton, &rg_Global::BrowseButton, &rg_Global::LaunchButton,
                                   &rg_Global::RetryButton}) {
    button->RegisterEvent(kButtonClick);
  }
  window.RegisterEvent(kWindowClose);
  window.AdjustLayout();

  for (int i = 0; i < rg_Global::kSkinImageCount; ++i) rg_Global::SkinImages[i].LoadFromResource(kFirstSkinResource + i);
  rg_Global::BannerPicture.SetImage(rg_Global::SkinImages[kBanner]);
  AddFaces(rg_Global::InstallButton, kInstallFace, kInstallFaceHover, kInstallFacePressed);
  AddFaces(rg_Global::BrowseButton, kFolderIcon, kFolderIcon, kFolderIcon);
  AddFaces(rg_Global::LaunchButton, kLaunchFace, kLaunchFaceHover, kLaunchFacePressed);
}

void ShowProgressPage() {
  ShowOnly(rg_Global::ProgressPage);
  rg_Global::ProgressBar.SetPos(0);
  rg_Global::RetryButton.Show(FALSE);
  rg_Global::StatusText.SetText(CWString(L"正在下载安装包，请稍候…"));
  rg_Global::MainWindow.Redraw(FALSE);
}

vint ShowDonePage(vint) {
  rg_Global::BannerPicture.SetImage(rg_Global::SkinImages[kBannerDone]);
  ShowOnly(rg_Global::DonePage);
  return rg_Global::MainWindow.Redraw(FALSE);
}

vint ShowFailurePage(vint outcome) {
  const auto& failed = *reinterpret_cast<const vexo::app::InstallOutcome*>(outcome);
  const CWString message = vexo::app::DescribeOutcome(failed);
  vexo::app::LogFormat(L"shown: %s", message.GetText());
  rg_Global::StatusText.SetText(message);
  // A bar left full by an error page's body would read as success.
  rg_Global::ProgressBar.SetPos(0);
  rg_Global::RetryButton.Show(TRUE);
  return rg_Global::MainWindow.Redraw(FALSE);
}

}  // namespace rg_Pelor_ChengXu
