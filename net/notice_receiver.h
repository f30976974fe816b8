// Cross-thread notices: an object's hidden window of class "_PEL_NoticeReceiverWnd", created on the
// thread that made the object, runs the object's OnNotice on that thread for callers on any thread.
#pragma once

#include <cstdint>

#include "runtime/win/scoped_handles.h"
#include "runtime/win/windows_api.h"

// The notice part of an object (a second base). Its window lives on the thread that constructed the
// object; that thread must keep dispatching messages while other threads send notices.
class IPelNoticeReceiver {
 public:
  // Name of the window class of every notice window.
  static constexpr const wchar_t* kWindowClass = L"_PEL_NoticeReceiverWnd";
  // The message of a notice: wParam points at the notice record, lParam is kNoticeMarker.
  static constexpr UINT kNoticeMessage = WM_APP + 1;
  static constexpr LPARAM kNoticeMarker = 18;
  // The message of a posted notice: wParam and lParam are its two words; nobody waits for it.
  static constexpr UINT kPostedNoticeMessage = WM_APP + 2;

  // Handles one notice on the window's thread; the base answers 0.
  virtual std::uint32_t OnNotice(std::uint32_t word_a, void* arguments, std::uint32_t word_b);

  // The notice window, or null when it could not be created (notices are then dropped).
  HWND GetNoticeWindow() const { return window_.get(); }

 protected:
  // Creates the notice window on the calling thread (registering its class first when needed); a failure
  // leaves the window null.
  IPelNoticeReceiver();
  // A copy has a notice window of its own, on the copying thread.
  IPelNoticeReceiver(const IPelNoticeReceiver& other);
  // Assignment leaves the own window alone.
  IPelNoticeReceiver& operator=(const IPelNoticeReceiver&) { return *this; }
  // Destroys the window (from the thread that created it).
  ~IPelNoticeReceiver();

  // Runs OnNotice(word_a, arguments, word_b) on the window's thread and waits for it; returns its result,
  // or 0 without a call when there is no window.
  std::uint32_t SendNotice(std::uint32_t word_a, void* arguments, std::uint32_t word_b);
  // Queues OnNotice(word_a, nullptr, word_b) for the window's thread and returns at once; false when there
  // is no window or the notice could not be queued. A notice still queued when the window ends is dropped.
  bool PostNotice(std::uint32_t word_a, std::uint32_t word_b);

 private:
  vexo::win::ScopedWindow window_;
};
