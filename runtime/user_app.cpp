#include "runtime/user_app.h"

ClassRecordList CPelUserApp::ListBasicClasses() const { return nullptr; }

namespace rg_Pelor_JiBen {

// The boxed value classes are not part of this library yet, so their list is empty.
ClassRecordList rg_ChengXuLei::ListBasicClasses() const {
  static const ClassInfo* const kRecords[] = {nullptr};
  return kRecords;
}

int rg_ChuangKouChengXuLei::PreFilterMessage(HWND, UINT, WPARAM, LPARAM, MSG*) { return 1; }

int rg_ChuangKouChengXuLei::OnIdleTime(DWORD) { return 0; }

void rg_ChuangKouChengXuLei::OnExit() {}

}  // namespace rg_Pelor_JiBen
