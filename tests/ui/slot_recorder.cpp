#include "tests/ui/slot_recorder.h"

#include <cstdio>

namespace vexo::ui_test {
namespace {

std::int32_t handled_answer = -1;

std::string Words(const char* kind, const std::vector<std::int32_t>& words) {
  std::string text = kind;
  for (std::size_t i = 0; i < words.size(); ++i) text += (i == 0 ? " " : ",") + std::to_string(words[i]);
  return text;
}

template <class Value>
std::string RecordWords(const char* kind, const Value* value) {
  std::vector<std::int32_t> words;
  for (std::size_t i = 0; i < Value::kSize / 4; ++i) words.push_back(value->GetWord(static_cast<int>(i)));
  return Words(kind, words);
}

std::string Handle(const char* kind, const void* handle) {
  char text[32];
  std::snprintf(text, sizeof(text), " 0x%X", static_cast<unsigned>(reinterpret_cast<std::uintptr_t>(handle)));
  return kind + std::string(text);
}

}  // namespace

std::vector<RaisedEvent>& RaisedEvents() {
  static std::vector<RaisedEvent> events;
  return events;
}
void SetHandledAnswer(std::int32_t answer) { handled_answer = answer; }
std::int32_t HandledAnswer() { return handled_answer; }

std::string Describe(UINT value) { return "UINT " + std::to_string(value); }
std::string Describe(int value) { return "int " + std::to_string(value); }
std::string Describe(LPARAM value) { return "LPARAM " + std::to_string(value); }
std::string Describe(HELE value) { return Handle("HELE", value); }
std::string Describe(HWINDOW value) { return Handle("HWINDOW", value); }
std::string Describe(HWND value) { return Handle("HWND", value); }
std::string Describe(HDROP value) { return Handle("HDROP", value); }
std::string Describe(HMENUX value) { return Handle("HMENUX", value); }
std::string Describe(rg_xc_gui::rg_ZuoBiao_xc* value) { return RecordWords("point", value); }
std::string Describe(rg_xc_gui::rg_CheCun_xc* value) { return RecordWords("size", value); }
std::string Describe(rg_xc_gui::rg_CaiChan_DanChuChuangKouJieGou* value) { return RecordWords("popup", value); }
std::string Describe(rg_xc_gui::rg_CaiChan_HuiZhiBeiJingJieGou* value) { return RecordWords("background", value); }
std::string Describe(rg_xc_gui::rg_CaiChan_HuiZhiXiangJieGou* value) { return RecordWords("item", value); }
std::string Describe(rg_xc_gui::rg_XuanCaiHuiTu* value) { return Handle("drawing", value->GetDraw()); }
std::string Describe(rg_Pelor_JiBen::rg_BianZhengShuShuZuLei* value) {
  std::vector<std::int32_t> words;
  for (int i = 0; i < value->GetCount(); ++i) words.push_back(static_cast<std::int32_t>(value->GetAt(i)));
  return Words("windows", words);
}

}  // namespace vexo::ui_test
