// Start, message loop, UI-thread calls, archives, layouts, lookup and images of the public interface.
#include <algorithm>
#include <string>

#include "xcgui/src/context.h"
#include "xcgui/src/decode_ahead.h"
#include "xcgui/src/image.h"
#include "xcgui/src/layout_loader.h"
#include "xcgui/src/window.h"
#include "xcgui/src/xml_document.h"
#include "xcgui/src/zip_archive.h"
#include "xcgui/xcgui.h"

using xcgui::Context;

namespace {

// Tells a developer why a load failed (the caller only sees 0): on the debugger's output, and as a line on
// the process's standard error when it has one (a console, or a file or pipe it was started with).
void Report(const std::wstring& what, const std::wstring& error) {
  std::wstring line = L"xcgui: " + what + L": " + error + L"\n";
  OutputDebugStringW(line.c_str());
  HANDLE stderr_handle = GetStdHandle(STD_ERROR_HANDLE);
  if (!stderr_handle || stderr_handle == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  DWORD mode = 0;
  if (GetConsoleMode(stderr_handle, &mode)) {
    WriteConsoleW(stderr_handle, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    return;
  }
  int size = WideCharToMultiByte(CP_UTF8, 0, line.data(), static_cast<int>(line.size()), nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<size_t>(std::max(size, 0)), '\0');
  WideCharToMultiByte(CP_UTF8, 0, line.data(), static_cast<int>(line.size()), utf8.data(), size, nullptr, nullptr);
  WriteFile(stderr_handle, utf8.data(), static_cast<DWORD>(utf8.size()), &written, nullptr);
}

// The earliest created live widget of that name in the tree (handles grow with creation).
void FindNamed(xcgui::Widget& widget, const std::wstring& name, xcgui::Widget** best) {
  if (widget.handle() && widget.name() == name &&
      (!*best || reinterpret_cast<uintptr_t>(widget.handle()) < reinterpret_cast<uintptr_t>((*best)->handle()))) {
    *best = &widget;
  }
  for (const auto& child : widget.children()) FindNamed(*child, name, best);
}

}  // namespace

extern "C" {

BOOL XInitXCGUI(BOOL) { return Context::Start(); }

void XRunXCGUI() {
  Context* context = Context::Current();
  if (!context) return;
  MSG msg;
  while (!context->windows().empty()) {
    BOOL result = GetMessageW(&msg, nullptr, 0, 0);
    if (result == 0 || result == -1) return;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

void XExitXCGUI() {
  Context::Stop();
  xcgui::DropDecodedAhead();
}

vint XC_CallUiThread(funCallUiThread function, vint data) { return xcgui::UiThreadCall::Call(function, data); }

BOOL XC_LoadResourceZip(const wchar_t* archive, const wchar_t* member, const wchar_t* password) {
  Context* context = Context::Current();
  if (!context || !archive || !member) return FALSE;
  std::wstring secret = password ? password : L"";
  std::wstring error;
  auto bytes = xcgui::ReadZipMember(archive, member, secret, &error);
  auto root = bytes ? xcgui::ParseXml(*bytes, &error) : std::nullopt;
  if (!root) {
    Report(member, error);
    return FALSE;
  }
  xcgui::MemberReader read = [&](const std::wstring& name, std::wstring* read_error) {
    return xcgui::ReadZipMember(archive, name, secret, read_error);
  };
  auto keep = [context](std::unique_ptr<xcgui::Image> image) -> const xcgui::Image* {
    return context->AdoptImage(std::move(image));
  };
  if (!context->resources().Add(*root, read, context->imaging(), keep, &error)) {
    Report(member, error);
    return FALSE;
  }
  return TRUE;
}

HXCGUI XC_LoadLayoutZip(const wchar_t* archive, const wchar_t* member, const wchar_t* password, HXCGUI parent,
                        HWND attach) {
  Context* context = Context::Current();
  if (!context || !archive || !member || attach) return nullptr;
  xcgui::Object* parent_object = nullptr;
  if (parent) {
    parent_object = context->Find<xcgui::Window>(parent);
    if (!parent_object) parent_object = context->Find<xcgui::Element>(parent);
    if (!parent_object) return nullptr;
  }
  std::wstring error;
  auto bytes = xcgui::ReadZipMember(archive, member, password ? password : L"", &error);
  auto root = bytes ? xcgui::ParseXml(*bytes, &error) : std::nullopt;
  xcgui::Object* loaded = root ? xcgui::LoadLayout(*context, *root, parent_object, &error) : nullptr;
  if (!loaded) {
    Report(member, error);
    return nullptr;
  }
  return loaded->handle();
}

HXCGUI XC_GetObjectByName(const wchar_t* name) {
  Context* context = Context::Current();
  if (!context || !name || !*name) return nullptr;
  xcgui::Widget* best = nullptr;
  for (const auto& window : context->windows()) {
    if (window->alive()) FindNamed(window->root(), name, &best);
  }
  return best ? best->handle() : nullptr;
}

HIMAGE XImage_LoadMemory(const void* data, int size) {
  Context* context = Context::Current();
  if (!context || !data || size <= 0) return nullptr;
  std::unique_ptr<xcgui::Image> image = xcgui::TakeDecodedAhead(data, static_cast<size_t>(size));
  if (!image || !image->WrapForGdiplus()) {
    image = xcgui::Image::Decode(context->imaging(), data, static_cast<size_t>(size));
  }
  if (!image) return nullptr;
  return reinterpret_cast<HIMAGE>(context->AdoptImage(std::move(image))->handle());
}

BOOL XImage_DecodeAhead(const void* data, int size) {
  return size > 0 && xcgui::DecodeAhead(data, static_cast<size_t>(size)) ? TRUE : FALSE;
}

}  // extern "C"
