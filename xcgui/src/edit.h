// A one-line edit box: caret, selection, keyboard editing, clipboard, horizontal scrolling.
#pragma once

#include <string>
#include <vector>

#include "xcgui/src/element.h"

namespace xcgui {

// Longer texts are cut to this many characters.
constexpr size_t kMaxEditLength = 32767;

class Edit : public Element {
 public:
  Edit() : Element(WidgetType::kEdit) {}

  // Replaces the text as the program does: first line only, caret at the end; raises set and changed.
  void SetTextFromProgram(const std::wstring& text);
  // Keeps only the first line, at most kMaxEditLength characters; caret at the end; raises nothing.
  void set_text(const std::wstring& text) override;
  // The selected range [first, second).
  std::pair<size_t, size_t> Selection() const;

  bool TakesMouse() const override { return true; }
  bool Focusable() const override { return true; }
  void OnPress(POINT point) override;
  void OnDrag(POINT point) override;
  void OnDoubleClick(POINT point) override;
  bool OnKeyDown(UINT key) override;
  void OnCharacter(wchar_t character) override;
  void OnFocusChanged(bool focused) override;
  void OnBlink() override;
  void DrawFace(Canvas& canvas, const RECT& rect) override;

 private:
  RECT TextRect() const;
  const std::vector<float>& Offsets();
  size_t IndexAt(POINT point);
  // Replaces the selection with `text` (first line only, within the length limit).
  void ReplaceSelection(const std::wstring& text);
  void MoveCaret(size_t position, bool extend);
  void ScrollToCaret();
  void Changed(bool text_changed);
  void Copy();
  void Paste();

  size_t caret_ = 0;
  size_t anchor_ = 0;
  float scroll_ = 0;
  bool caret_on_ = true;
  std::vector<float> offsets_;
  bool offsets_valid_ = false;
};

}  // namespace xcgui
