#include "app/user_actions.h"

#include "app/close_guard.h"
#include "app/install_log.h"
#include "app/install_worker.h"
#include "app/installer_state.h"
#include "app/installer_window.h"
#include "sys/folder_dialog.h"
#include "sys/process_launch.h"

namespace rg_Pelor_ChengXu {

namespace {

void Browse() {
  const CWString chosen = vexo::sys::BrowseForFolder(CWString(L"请选择安装目录路径"), rg_Global::InstallFolder);
  if (chosen.IsEmpty()) return;
  rg_Global::InstallFolder = ChosenInstallFolder(chosen);
  rg_Global::PathEdit.SetText(PathFieldText(rg_Global::InstallFolder));
  rg_Global::PathEdit.Redraw(FALSE);
}

void Install() {
  ShowProgressPage();
  vexo::app::LogFormat(L"install: into %s", rg_Global::InstallFolder.GetText());
  if (!StartInstallWorker()) {
    vexo::app::InstallOutcome outcome;
    outcome.failure = vexo::app::InstallFailure::kNoWorker;
    ShowFailurePage(reinterpret_cast<vint>(&outcome));
  }
}

void Launch() {
  // Quoted, so a folder with spaces cannot start another program.
  CWString command;
  command.Format(L"\"%s%s\"", rg_Global::InstallFolder.GetText(), rg_Global::ClientExeName.GetText());
  const int started = vexo::sys::RunProgram(command.GetText(), false, SW_SHOWNORMAL);
  vexo::app::LogFormat(L"launch: %s -> %s", command.GetText(), started ? L"started" : L"could not start");
  rg_Global::MainWindow.CloseWindow();
}

}  // namespace

CWString ChosenInstallFolder(const CWString& chosen) {
  const int length = chosen.GetLength();
  if (length > 0 && chosen.GetText()[length - 1] == L'\\') return chosen;
  return CWString::Concat(chosen, L"\\");
}

rg_XCGUIH::rg_XCGUIH() { BindHandlers(); }

rg_XCGUIH::rg_XCGUIH(const rg_XCGUIH& other) : CPelObject(other) { BindHandlers(); }

rg_XCGUIH& rg_XCGUIH::operator=(const rg_XCGUIH& other) {
  CPelObject::operator=(other);
  return *this;
}

rg_XCGUIH::~rg_XCGUIH() { self_->Clear(); }

void rg_XCGUIH::BindHandlers() {
  self_ = vexo::CountedRef<CPelObjectPointer>::Adopt(new CPelObjectPointer(this));
  for (rg_xc_gui::xcann* button : {&rg_Global::InstallButton, &rg_Global::BrowseButton, &rg_Global::LaunchButton,
                                   &rg_Global::RetryButton}) {
    button->BtnClickSlot().Bind(&ClickAdapter, self_.get(), 0);
  }
  rg_Global::MainWindow.WndCloseSlot().Bind(&vexo::app::OnMainWindowClose, self_.get(), 0);
}

std::int32_t rg_XCGUIH::ClickAdapter(CPelObject* owner, CPelObject* source, std::uint32_t, XCGUIDATA,
                                     rg_Pelor_JiBen::rg_LuoJiXingLei*) {
  return static_cast<rg_XCGUIH*>(owner)->OnButtonClick(source);
}

std::int32_t rg_XCGUIH::OnButtonClick(CPelObject* sender) {
  if (sender == &rg_Global::BrowseButton) {
    Browse();
  } else if (sender == &rg_Global::InstallButton || sender == &rg_Global::RetryButton) {
    Install();
  } else if (sender == &rg_Global::LaunchButton) {
    Launch();
  }
  return 0;
}

}  // namespace rg_Pelor_ChengXu
