#include "xcgui/src/edit.h"

#include <algorithm>
#include <cstring>

#include "runtime/win/scoped_clipboard.h"
#include "runtime/win/scoped_memory.h"
#include "xcgui/src/canvas.h"
#include "xcgui/src/context.h"
#include "xcgui/src/window.h"

namespace xcgui {
namespace {

constexpr int kPadding = 4;

std::wstring FirstLine(const std::wstring& text) {
  std::wstring line = text.substr(0, text.find_first_of(L"\r\n"));
  if (line.size() > kMaxEditLength) line.resize(kMaxEditLength);
  return line;
}

bool KeyDown(int key) { return (GetKeyState(key) & 0x8000) != 0; }

}  // namespace

void Edit::set_text(const std::wstring& text) {
  Element::set_text(FirstLine(text));
  offsets_valid_ = false;
  caret_ = anchor_ = this->text().size();
  scroll_ = 0;
  ScrollToCaret();
}

void Edit::SetTextFromProgram(const std::wstring& text) {
  std::wstring before = this->text();
  set_text(text);
  Invalidate();
  Raise(XE_EDIT_SET);
  if (alive() && before != this->text()) Raise(XE_EDIT_CHANGED);
}

std::pair<size_t, size_t> Edit::Selection() const {
  return {std::min(caret_, anchor_), std::max(caret_, anchor_)};
}

RECT Edit::TextRect() const {
  RECT rect = ClientRect();
  InflateRect(&rect, -kPadding, -1);
  return rect;
}

const std::vector<float>& Edit::Offsets() {
  Context* context = Context::Current();
  if (!offsets_valid_ && context) {
    offsets_ = context->fonts().CaretOffsets(text(), Font());
    offsets_valid_ = true;
  }
  if (offsets_.size() != text().size() + 1) offsets_.assign(text().size() + 1, 0.0f);
  return offsets_;
}

size_t Edit::IndexAt(POINT point) {
  const std::vector<float>& offsets = Offsets();
  float x = static_cast<float>(point.x - TextRect().left) + scroll_;
  size_t best = 0;
  for (size_t i = 1; i < offsets.size(); ++i) {
    if (std::abs(offsets[i] - x) < std::abs(offsets[best] - x)) best = i;
  }
  return best;
}

void Edit::ScrollToCaret() {
  const std::vector<float>& offsets = Offsets();
  float visible = static_cast<float>(std::max<LONG>(0, TextRect().right - TextRect().left));
  float at = offsets[std::min(caret_, offsets.size() - 1)];
  if (at - scroll_ > visible - 1) scroll_ = at - visible + 1;
  if (at < scroll_) scroll_ = at;
  scroll_ = std::clamp(scroll_, 0.0f, std::max(0.0f, offsets.back() - visible + 1));
}

void Edit::Changed(bool text_changed) {
  caret_on_ = true;
  ScrollToCaret();
  Invalidate();
  if (window()) window()->RestartBlink();
  if (text_changed) Raise(XE_EDIT_CHANGED);
  if (alive()) Raise(XE_EDIT_POS_CHANGED, {static_cast<vint>(caret_)});
}

void Edit::MoveCaret(size_t position, bool extend) {
  caret_ = std::min(position, text().size());
  if (!extend) anchor_ = caret_;
  Changed(false);
}

void Edit::ReplaceSelection(const std::wstring& inserted) {
  auto [first, second] = Selection();
  std::wstring line = FirstLine(inserted);
  std::wstring current = text();
  size_t room = kMaxEditLength - (current.size() - (second - first));
  if (line.size() > room) line.resize(room);
  if (line.empty() && first == second) return;
  current.replace(first, second - first, line);
  Element::set_text(current);
  offsets_valid_ = false;
  caret_ = anchor_ = first + line.size();
  Changed(true);
}

void Edit::OnPress(POINT point) {
  MoveCaret(IndexAt(point), KeyDown(VK_SHIFT));
}

void Edit::OnDrag(POINT point) { MoveCaret(IndexAt(point), true); }

void Edit::OnDoubleClick(POINT) {
  anchor_ = 0;
  caret_ = text().size();
  Changed(false);
}

bool Edit::OnKeyDown(UINT key) {
  bool shift = KeyDown(VK_SHIFT);
  bool control = KeyDown(VK_CONTROL);
  auto [first, second] = Selection();
  switch (key) {
    case VK_LEFT:
      MoveCaret(!shift && first != second ? first : (caret_ > 0 ? caret_ - 1 : 0), shift);
      return true;
    case VK_RIGHT:
      MoveCaret(!shift && first != second ? second : caret_ + 1, shift);
      return true;
    case VK_HOME:
      MoveCaret(0, shift);
      return true;
    case VK_END:
      MoveCaret(text().size(), shift);
      return true;
    case VK_BACK:
      if (first == second && first > 0) anchor_ = caret_ - 1;
      ReplaceSelection(L"");
      return true;
    case VK_DELETE:
      if (first == second && caret_ < text().size()) anchor_ = caret_ + 1;
      ReplaceSelection(L"");
      return true;
    default:
      break;
  }
  if (!control) return false;
  switch (key) {
    case 'A':
      anchor_ = 0;
      caret_ = text().size();
      Changed(false);
      return true;
    case 'C':
      Copy();
      return true;
    case 'X':
      Copy();
      ReplaceSelection(L"");
      return true;
    case 'V':
      Paste();
      return true;
    default:
      return false;
  }
}

void Edit::OnCharacter(wchar_t character) {
  if (character < 0x20 || character == 0x7F) return;  // control keys arrive as key presses
  ReplaceSelection(std::wstring(1, character));
}

void Edit::OnFocusChanged(bool focused) {
  caret_on_ = focused;
  Invalidate();
}

void Edit::OnBlink() {
  caret_on_ = !caret_on_;
  Invalidate();
}

void Edit::Copy() {
  auto [first, second] = Selection();
  if (first == second || !window()) return;
  std::wstring part = text().substr(first, second - first);
  vexo::win::ScopedGlobalMemory memory(GlobalAlloc(GMEM_MOVEABLE, (part.size() + 1) * sizeof(wchar_t)));
  if (!memory) return;
  {
    vexo::win::ScopedGlobalLock lock(memory.get());
    if (!lock.get()) return;
    std::memcpy(lock.get(), part.c_str(), (part.size() + 1) * sizeof(wchar_t));
  }
  vexo::win::ScopedClipboard clipboard(window()->hwnd());
  if (!clipboard.is_open() || !EmptyClipboard()) return;
  // On success the clipboard owns the memory.
  if (SetClipboardData(CF_UNICODETEXT, memory.get())) memory.release();
}

void Edit::Paste() {
  if (!window()) return;
  std::wstring pasted;
  {
    vexo::win::ScopedClipboard clipboard(window()->hwnd());
    if (!clipboard.is_open()) return;
    HANDLE data_handle = GetClipboardData(CF_UNICODETEXT);
    if (!data_handle) return;
    vexo::win::ScopedGlobalLock lock(data_handle);
    if (!lock.get()) return;
    const wchar_t* data = static_cast<const wchar_t*>(lock.get());
    size_t limit = GlobalSize(data_handle) / sizeof(wchar_t);
    pasted.assign(data, std::find(data, data + limit, L'\0'));
  }
  ReplaceSelection(pasted);
}

void Edit::DrawFace(Canvas& canvas, const RECT& rect) {
  bool focused = window() && window()->focus() == this;
  Argb accent = style().bar_color.value_or(0xFF1E88E5);
  if (!DrawBkImages(canvas, rect)) {
    if (!bk_transparent()) canvas.FillRect(rect, style().background_color.value_or(0xFFFFFFFF));
    if (draw_border()) {
      canvas.FrameRect(rect, focused ? accent : BorderColor(), style().border_width.value_or(1));
    }
  }
  RECT inner = TextRect();
  canvas.NarrowClip(inner);
  const std::vector<float>& offsets = Offsets();
  auto [first, second] = Selection();
  if (focused && first != second) {
    RECT selection = {inner.left + static_cast<LONG>(offsets[first] - scroll_), inner.top + 2,
                      inner.left + static_cast<LONG>(offsets[second] - scroll_ + 0.5f), inner.bottom - 2};
    canvas.FillRect(selection, (accent & 0x00FFFFFF) | 0x60000000);
  }
  Argb color = enabled() ? style().color.value_or(0xFF000000) : 0xFF9A9A9A;
  canvas.DrawLine(text(), inner, Font(), color, TextAlign::kLeft, -scroll_);
  if (focused && caret_on_) {
    LONG x = inner.left + static_cast<LONG>(offsets[caret_] - scroll_);
    RECT caret = {x, inner.top + 3, x + 1, inner.bottom - 3};
    canvas.FillRect(caret, style().color.value_or(0xFF000000));
  }
}

}  // namespace xcgui
