#include "net/notice_receiver.h"

#include "runtime/app_instance.h"

namespace {

// What a notice message carries: the receiver, its arguments and where the result goes.
struct NoticeRecord {
  IPelNoticeReceiver* receiver;
  std::uint32_t word_a;
  void* arguments;
  std::uint32_t word_b;
  std::uint32_t* result;
};

LRESULT CALLBACK NoticeWindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == IPelNoticeReceiver::kNoticeMessage && wparam != 0 && lparam == IPelNoticeReceiver::kNoticeMarker) {
    auto* record = reinterpret_cast<NoticeRecord*>(wparam);
    std::uint32_t result = record->receiver->OnNotice(record->word_a, record->arguments, record->word_b);
    if (record->result != nullptr) *record->result = result;
    return IPelNoticeReceiver::kNoticeMarker;
  }
  if (message == IPelNoticeReceiver::kPostedNoticeMessage) {
    auto* receiver = reinterpret_cast<IPelNoticeReceiver*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    if (receiver != nullptr) {
      receiver->OnNotice(static_cast<std::uint32_t>(wparam), nullptr, static_cast<std::uint32_t>(lparam));
    }
    return 0;
  }
  return ::DefWindowProcW(window, message, wparam, lparam);
}

// The module the window class belongs to: the one the host recorded at start-up, else the module that
// holds this code.
HINSTANCE NoticeModule() {
  HINSTANCE instance = vexo::TheAppInstance().GetInstanceHandle();
  if (instance != nullptr) return instance;
  MEMORY_BASIC_INFORMATION info{};
  if (::VirtualQuery(reinterpret_cast<const void*>(&NoticeWindowProc), &info, sizeof(info)) == 0) return nullptr;
  return static_cast<HINSTANCE>(info.AllocationBase);
}

// The notice window of `receiver`, which posted notices find through the window's user data.
HWND CreateNoticeWindow(IPelNoticeReceiver* receiver) {
  HINSTANCE instance = NoticeModule();
  WNDCLASSW window_class{};
  if (!::GetClassInfoW(instance, IPelNoticeReceiver::kWindowClass, &window_class)) {
    window_class = {};
    window_class.lpfnWndProc = &NoticeWindowProc;
    window_class.hInstance = instance;
    window_class.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    window_class.hbrBackground = static_cast<HBRUSH>(::GetStockObject(NULL_BRUSH));
    window_class.lpszClassName = IPelNoticeReceiver::kWindowClass;
    // Another thread may have registered it in the meantime; that registration serves as well.
    if (!::RegisterClassW(&window_class) && ::GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return nullptr;
  }
  HWND window = ::CreateWindowExW(WS_EX_TOOLWINDOW, IPelNoticeReceiver::kWindowClass, L"", 0, 0, 0, 0, 0, nullptr,
                                  nullptr, instance, nullptr);
  if (window != nullptr) ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(receiver));
  return window;
}

}  // namespace

IPelNoticeReceiver::IPelNoticeReceiver() : window_(CreateNoticeWindow(this)) {}

IPelNoticeReceiver::IPelNoticeReceiver(const IPelNoticeReceiver&) : window_(CreateNoticeWindow(this)) {}

IPelNoticeReceiver::~IPelNoticeReceiver() = default;

std::uint32_t IPelNoticeReceiver::OnNotice(std::uint32_t, void*, std::uint32_t) { return 0; }

std::uint32_t IPelNoticeReceiver::SendNotice(std::uint32_t word_a, void* arguments, std::uint32_t word_b) {
  if (!window_) return 0;
  std::uint32_t result = 0;
  NoticeRecord record{this, word_a, arguments, word_b, &result};
  ::SendMessageW(window_.get(), kNoticeMessage, reinterpret_cast<WPARAM>(&record), kNoticeMarker);
  return result;
}

bool IPelNoticeReceiver::PostNotice(std::uint32_t word_a, std::uint32_t word_b) {
  return window_ && ::PostMessageW(window_.get(), kPostedNoticeMessage, word_a, word_b) != 0;
}
