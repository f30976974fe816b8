#include "runtime/user_app.h"

#include "runtime/boxed_values.h"

ClassRecordList CPelUserApp::ListBasicClasses() const { return nullptr; }

namespace rg_Pelor_JiBen {

ClassRecordList rg_ChengXuLei::ListBasicClasses() const {
  static const ClassInfo* const kRecords[] = {
      &rg_ZiJieLei::StaticClassInfo(),        &rg_DuanZhengShuLei::StaticClassInfo(),
      &rg_ZiFuLei::StaticClassInfo(),         &rg_ZhengShuLei::StaticClassInfo(),
      &rg_BianZhengShuLei::StaticClassInfo(), &rg_ChangZhengShuLei::StaticClassInfo(),
      &rg_XiaoShuLei::StaticClassInfo(),      &rg_LuoJiXingLei::StaticClassInfo(),
      nullptr,
  };
  return kRecords;
}

int rg_ChuangKouChengXuLei::PreFilterMessage(HWND, UINT, WPARAM, LPARAM, MSG*) { return 1; }

int rg_ChuangKouChengXuLei::OnIdleTime(DWORD) { return 0; }

void rg_ChuangKouChengXuLei::OnExit() {}

}  // namespace rg_Pelor_JiBen
