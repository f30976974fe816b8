#include "runtime/gdiplus_session.h"

bool GdiplusSession::Start() {
  std::lock_guard<std::mutex> guard(lock_);
  if (session_ && session_->is_valid()) return true;
  session_.emplace();
  return session_->is_valid();
}
