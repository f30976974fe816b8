// Base of everything placed inside a window (elements and shapes): tree, geometry, visibility, painting.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "xcgui/src/object.h"
#include "xcgui/src/style.h"

namespace xcgui {

class Canvas;
class Context;
class Element;
class Window;

enum class WidgetType { kElement, kButton, kEdit, kProgressBar, kScrollView, kShapeText, kShapePic };

class Widget : public Object {
 public:
  explicit Widget(WidgetType type) : Object(Kind::kWidget), type_(type) {}
  ~Widget() override;

  WidgetType type() const { return type_; }
  // The type's name in layouts and style sheets: element, button, edit, progressbar, scrollview,
  // shapetext, shapepic.
  static const wchar_t* TypeName(WidgetType type);

  // --- tree ---
  Window* window() const { return window_; }
  Widget* parent() const { return parent_; }
  const std::vector<std::unique_ptr<Widget>>& children() const { return children_; }
  // Takes the child over as the last (topmost) child; it joins this widget's window.
  Widget* AddChild(std::unique_ptr<Widget> child);
  // Sets the window of this widget and everything inside it.
  void AttachTo(Window* window);
  // Gives this widget and everything inside it handles.
  void RegisterTree(Context& context);
  // Destroys this widget and everything inside it: destroy events, records released, handles unknown.
  void DestroyTree(Context& context);

  // --- geometry: position relative to the parent's content, size in pixels ---
  int x() const { return x_; }
  int y() const { return y_; }
  int width() const { return width_; }
  int height() const { return height_; }
  void SetPosition(int x, int y) { x_ = x; y_ = y; }
  // Sets the size; a negative size fills the parent up to its right or bottom edge at layout time.
  void SetSize(int width, int height);
  // Recomputes fill sizes of this widget and everything inside it; raises size events on change.
  void Layout(int flags);
  // The widget's rectangle in window client coordinates.
  RECT ClientRect() const;
  // Where the children's (0, 0) lies, in window client coordinates.
  POINT ContentOrigin() const;
  // How far the content is scrolled (scroll views).
  virtual POINT ScrollOffset() const { return {0, 0}; }

  // --- attributes ---
  bool visible() const { return visible_; }
  void set_visible(bool visible) { visible_ = visible; }
  // Shown itself and inside shown parents.
  bool VisibleInTree() const;
  const std::wstring& name() const { return name_; }
  void set_name(const std::wstring& name) { name_ = name; }
  const std::wstring& classes() const { return classes_; }
  void set_classes(const std::wstring& classes) { classes_ = classes; }
  const std::wstring& text() const { return text_; }
  virtual void set_text(const std::wstring& text) { text_ = text; }
  Style& style() { return style_; }
  const Style& style() const { return style_; }
  // The font the style asks for, on top of the window's font.
  FontSpec Font() const;

  // --- painting ---
  // Paints this widget and its children where they meet `clip` (client coordinates).
  void PaintTree(Canvas& canvas, const RECT& clip);
  // The widget's own look, in `rect` (client coordinates).
  virtual void DrawFace(Canvas& canvas, const RECT& rect) = 0;
  // Asks the window to repaint this widget's area (immediately when `now`).
  void Invalidate(bool now = false) const;

  // The deepest shown element at `point` (client coordinates) in this widget's subtree, this widget
  // included; shapes are transparent to the mouse. Null when none.
  Element* ElementAt(POINT point);

 protected:
  // Draws the widget's own part of the tree; elements raise their draw event here.
  virtual void PaintSelf(Canvas& canvas, const RECT& rect) { DrawFace(canvas, rect); }
  // Raises the widget's destroy event (elements).
  virtual void OnDestroy(Context&) {}
  // Raises the widget's size event (elements).
  virtual void OnResized(int) {}

 private:
  WidgetType type_;
  Window* window_ = nullptr;
  Widget* parent_ = nullptr;
  std::vector<std::unique_ptr<Widget>> children_;
  int x_ = 0;
  int y_ = 0;
  int width_ = 0;
  int height_ = 0;
  bool fill_width_ = false;
  bool fill_height_ = false;
  bool visible_ = true;
  std::wstring name_;
  std::wstring classes_;
  std::wstring text_;
  Style style_;
};

}  // namespace xcgui
