#include "runtime/gdiplus_session.h"

#include <gdiplus.h>

GdiplusSession::~GdiplusSession() {
  if (token_ != 0) Gdiplus::GdiplusShutdown(token_);
}

bool GdiplusSession::Start() {
  std::lock_guard<std::mutex> guard(lock_);
  if (token_ != 0) return true;
  Gdiplus::GdiplusStartupInput input;
  input.GdiplusVersion = 1;
  input.DebugEventCallback = nullptr;
  input.SuppressBackgroundThread = FALSE;
  input.SuppressExternalCodecs = FALSE;
  ULONG_PTR token = 0;
  if (Gdiplus::GdiplusStartup(&token, &input, nullptr) != Gdiplus::Ok) return false;
  token_ = token;
  return true;
}
