#include "xcgui/src/widget.h"

#include "xcgui/src/canvas.h"
#include "xcgui/src/context.h"
#include "xcgui/src/element.h"
#include "xcgui/src/window.h"

namespace xcgui {

Widget::~Widget() = default;

const wchar_t* Widget::TypeName(WidgetType type) {
  switch (type) {
    case WidgetType::kElement:
      return L"element";
    case WidgetType::kButton:
      return L"button";
    case WidgetType::kEdit:
      return L"edit";
    case WidgetType::kProgressBar:
      return L"progressbar";
    case WidgetType::kScrollView:
      return L"scrollview";
    case WidgetType::kShapeText:
      return L"shapetext";
    case WidgetType::kShapePic:
      return L"shapepic";
  }
  return L"";
}

Widget* Widget::AddChild(std::unique_ptr<Widget> child) {
  child->parent_ = this;
  child->AttachTo(window_);
  children_.push_back(std::move(child));
  return children_.back().get();
}

void Widget::AttachTo(Window* window) {
  window_ = window;
  for (size_t i = 0; i < children_.size(); ++i) children_[i]->AttachTo(window);
}

void Widget::RegisterTree(Context& context) {
  context.Register(this);
  for (size_t i = 0; i < children_.size(); ++i) children_[i]->RegisterTree(context);
}

void Widget::DestroyTree(Context& context) {
  if (!alive()) return;
  OnDestroy(context);
  for (size_t i = 0; i < children_.size(); ++i) children_[i]->DestroyTree(context);
  context.Unregister(this);
  mark_dead();
}

void Widget::SetSize(int width, int height) {
  fill_width_ = width < 0;
  fill_height_ = height < 0;
  width_ = fill_width_ ? 0 : width;
  height_ = fill_height_ ? 0 : height;
}

void Widget::Layout(int flags) {
  int width = width_;
  int height = height_;
  if (parent_ && fill_width_) width = std::max(0, parent_->width_ - x_);
  if (parent_ && fill_height_) height = std::max(0, parent_->height_ - y_);
  bool resized = width != width_ || height != height_;
  width_ = width;
  height_ = height;
  if (resized) OnResized(flags);
  for (size_t i = 0; i < children_.size(); ++i) children_[i]->Layout(flags);
}

RECT Widget::ClientRect() const {
  POINT origin = parent_ ? parent_->ContentOrigin() : POINT{0, 0};
  return {origin.x + x_, origin.y + y_, origin.x + x_ + width_, origin.y + y_ + height_};
}

POINT Widget::ContentOrigin() const {
  RECT rect = ClientRect();
  POINT scroll = ScrollOffset();
  return {rect.left - scroll.x, rect.top - scroll.y};
}

bool Widget::VisibleInTree() const {
  for (const Widget* w = this; w; w = w->parent_) {
    if (!w->visible_) return false;
  }
  return true;
}

FontSpec Widget::Font() const {
  return style_.Font(window_ ? window_->font() : FontSpec());
}

void Widget::PaintTree(Canvas& canvas, const RECT& clip) {
  if (!visible_ || !alive()) return;
  RECT rect = ClientRect();
  RECT area;
  if (!IntersectRect(&area, &rect, &clip)) return;
  canvas.SetClip(area);
  PaintSelf(canvas, rect);
  for (size_t i = 0; i < children_.size() && alive(); ++i) children_[i]->PaintTree(canvas, area);
}

void Widget::Invalidate(bool now) const {
  if (window_ && alive()) window_->InvalidateClient(ClientRect(), now);
}

Element* Widget::ElementAt(POINT point) {
  if (!visible_) return nullptr;
  RECT rect = ClientRect();
  if (!PtInRect(&rect, point)) return nullptr;
  for (size_t i = children_.size(); i-- > 0;) {
    if (Element* hit = children_[i]->ElementAt(point)) return hit;
  }
  return dynamic_cast<Element*>(this);
}

}  // namespace xcgui
