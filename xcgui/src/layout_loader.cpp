#include "xcgui/src/layout_loader.h"

#include <memory>
#include <vector>

#include "xcgui/src/button.h"
#include "xcgui/src/context.h"
#include "xcgui/src/edit.h"
#include "xcgui/src/image.h"
#include "xcgui/src/progress_bar.h"
#include "xcgui/src/scroll_view.h"
#include "xcgui/src/shape_pic.h"
#include "xcgui/src/shape_text.h"
#include "xcgui/src/window.h"

namespace xcgui {
namespace {

constexpr int kMaxSide = 10000;      // positions and sizes of widgets
constexpr int kMaxWindowSide = 4096;  // windows: larger back buffers are not worth having

class Builder {
 public:
  Builder(const ResourcePack& pack, std::wstring* error) : pack_(pack), named_(pack.Named()), error_(error) {}

  std::unique_ptr<Widget> BuildWidget(const XmlElement& node);
  bool BuildWindowSpec(const XmlElement& node, WindowSpec* window_spec);

  bool Fail(const std::wstring& what) {
    if (error_) *error_ = what;
    return false;
  }

 private:
  static std::unique_ptr<Widget> Make(const std::wstring& tag);
  bool ApplyAttribute(Widget& widget, const std::wstring& key, const std::wstring& value, Style& inline_style);
  bool Bool(const std::wstring& key, const std::wstring& value, bool* out) {
    auto parsed = ParseBool(value);
    if (!parsed) return Fail(L"attribute " + key + L": '" + value + L"' is not true or false");
    *out = *parsed;
    return true;
  }
  const Image* NamedImage(const std::wstring& name) {
    const Image* image = pack_.FindImage(name);
    if (!image) Fail(L"no image '" + name + L"' in the resource pack");
    return image;
  }

  const ResourcePack& pack_;
  NamedValues named_;
  std::wstring* error_;
};

std::unique_ptr<Widget> Builder::Make(const std::wstring& tag) {
  if (tag == L"element") return std::make_unique<Element>();
  if (tag == L"button") return std::make_unique<Button>();
  if (tag == L"edit") return std::make_unique<Edit>();
  if (tag == L"progressbar") return std::make_unique<ProgressBar>();
  if (tag == L"scrollview") return std::make_unique<ScrollView>();
  if (tag == L"shapetext") return std::make_unique<ShapeText>();
  if (tag == L"shapepic") return std::make_unique<ShapePic>();
  return nullptr;
}

bool Builder::ApplyAttribute(Widget& widget, const std::wstring& key, const std::wstring& value,
                             Style& inline_style) {
  auto* element = dynamic_cast<Element*>(&widget);
  bool flag = false;
  if (key == L"name" || key == L"class") return true;  // taken before the style is resolved
  if (key == L"rect") {
    int v[4];
    size_t start = 0;
    for (int i = 0; i < 4; ++i) {
      size_t comma = value.find(L',', start);
      if ((i < 3) != (comma != std::wstring::npos)) return Fail(L"rect '" + value + L"' needs x,y,width,height");
      auto number = ParseInt(value.substr(start, comma == std::wstring::npos ? std::wstring::npos : comma - start));
      if (!number || *number < -kMaxSide || *number > kMaxSide || (i >= 2 && *number < -1)) {
        return Fail(L"rect '" + value + L"' has a bad number");
      }
      v[i] = *number;
      start = comma + 1;
    }
    widget.SetPosition(v[0], v[1]);
    widget.SetSize(v[2], v[3]);
    return true;
  }
  if (key == L"text") {
    widget.set_text(value);
    return true;
  }
  if (key == L"visible") {
    if (!Bool(key, value, &flag)) return false;
    widget.set_visible(flag);
    return true;
  }
  if (element && (key == L"enabled" || key == L"border" || key == L"transparent" || key == L"draw-focus")) {
    if (!Bool(key, value, &flag)) return false;
    if (key == L"enabled") element->set_enabled(flag);
    if (key == L"border") element->set_draw_border(flag);
    if (key == L"transparent") element->set_bk_transparent(flag);
    if (key == L"draw-focus") element->set_draw_focus(flag);
    return true;
  }
  if (element && (key == L"image-normal" || key == L"image-hover" || key == L"image-pressed")) {
    const Image* image = NamedImage(value);
    if (!image) return false;
    int state = key == L"image-normal"  ? element_state_flag_leave
                : key == L"image-hover" ? element_state_flag_stay
                                        : element_state_flag_down;
    element->AddBkImage(state, image);
    return true;
  }
  if (auto* picture = dynamic_cast<ShapePic*>(&widget); picture && key == L"image") {
    const Image* image = NamedImage(value);
    if (!image) return false;
    picture->set_image(image);
    return true;
  }
  if (auto* button = dynamic_cast<Button*>(&widget); button && key == L"role") {
    if (value == L"close") button->set_role(ButtonRole::kClose);
    else if (value == L"minimize") button->set_role(ButtonRole::kMinimize);
    else if (value != L"none") return Fail(L"unknown button role '" + value + L"'");
    return true;
  }
  if (auto* text = dynamic_cast<ShapeText*>(&widget); text && key == L"role") {
    if (value != L"title") return Fail(L"unknown text role '" + value + L"'");
    text->set_shows_title(true);
    return true;
  }
  if (auto* bar = dynamic_cast<ProgressBar*>(&widget); bar && key == L"pos") {
    auto position = ParseInt(value);
    if (!position) return Fail(L"pos '" + value + L"' is not a number");
    bar->set_position(*position);
    return true;
  }
  switch (SetStyleProperty(inline_style, key, value, named_)) {
    case PropertyResult::kSet:
      return true;
    case PropertyResult::kBadValue:
      return Fail(L"bad value '" + value + L"' for " + key);
    case PropertyResult::kUnknownProperty:
      break;
  }
  return Fail(L"<" + std::wstring(Widget::TypeName(widget.type())) + L"> has no attribute " + key);
}

std::unique_ptr<Widget> Builder::BuildWidget(const XmlElement& node) {
  std::unique_ptr<Widget> widget = Make(node.name);
  if (!widget) {
    Fail(L"unknown layout element <" + node.name + L">");
    return nullptr;
  }
  const std::wstring* name = node.Attribute(L"name");
  const std::wstring* classes = node.Attribute(L"class");
  if (name) widget->set_name(*name);
  if (classes) widget->set_classes(*classes);
  widget->SetSize(-1, -1);
  Style inline_style;
  for (const auto& [key, value] : node.attributes) {
    if (!ApplyAttribute(*widget, key, value, inline_style)) return nullptr;
  }
  if (!node.Attribute(L"text") && !Trim(node.text).empty()) widget->set_text(Trim(node.text));
  Style style = pack_.style_sheet().Resolve(Widget::TypeName(widget->type()), widget->name(), widget->classes());
  style.MergeFrom(inline_style);
  widget->style() = style;
  if (auto* picture = dynamic_cast<ShapePic*>(widget.get()); picture && picture->image() && !node.Attribute(L"rect")) {
    widget->SetSize(picture->image()->width(), picture->image()->height());
  }

  if (!node.children.empty() && !dynamic_cast<Element*>(widget.get())) {
    Fail(L"<" + node.name + L"> cannot contain widgets");
    return nullptr;
  }
  for (const XmlElement& child_node : node.children) {
    std::unique_ptr<Widget> child = BuildWidget(child_node);
    if (!child) return nullptr;
    widget->AddChild(std::move(child));
  }
  return widget;
}

bool Builder::BuildWindowSpec(const XmlElement& node, WindowSpec* window_spec) {
  Style style = pack_.style_sheet().Resolve(L"window", L"", L"");
  Style inline_style;
  for (const auto& [key, value] : node.attributes) {
    if (key == L"width" || key == L"height" || key == L"min-width" || key == L"min-height" ||
        key == L"max-width" || key == L"max-height") {
      auto number = ParseInt(value);
      bool required = key == L"width" || key == L"height";
      if (!number || *number < (required ? 1 : 0) || *number > kMaxWindowSide) {
        return Fail(L"window " + key + L" '" + value + L"' is out of range");
      }
      if (key == L"width") window_spec->width = *number;
      if (key == L"height") window_spec->height = *number;
      if (key == L"min-width") window_spec->min_width = *number;
      if (key == L"min-height") window_spec->min_height = *number;
      if (key == L"max-width") window_spec->max_width = *number;
      if (key == L"max-height") window_spec->max_height = *number;
    } else if (key == L"title") {
      window_spec->title = value;
    } else if (key == L"drag" || key == L"maximize") {
      if (!Bool(key, value, key == L"drag" ? &window_spec->drag : &window_spec->maximize)) return false;
    } else if (key == L"name") {
      continue;
    } else if (SetStyleProperty(inline_style, key, value, named_) != PropertyResult::kSet) {
      return Fail(L"<window> has no attribute " + key + L" with value '" + value + L"'");
    }
  }
  style.MergeFrom(inline_style);
  window_spec->font = style.Font(window_spec->font);
  if (style.background_color) window_spec->background = *style.background_color;
  if (style.border_color) window_spec->edge = *style.border_color;
  return true;
}

}  // namespace

Object* LoadLayout(Context& context, const XmlElement& root, Object* parent, std::wstring* error) {
  Builder builder(context.resources(), error);
  auto* parent_window = dynamic_cast<Window*>(parent);
  auto* parent_element = dynamic_cast<Element*>(parent);

  if (root.name == L"window") {
    if (parent && !parent_window) {
      builder.Fail(L"a window layout can only be owned by a window");
      return nullptr;
    }
    WindowSpec window_spec;
    if (!builder.BuildWindowSpec(root, &window_spec)) return nullptr;
    std::vector<std::unique_ptr<Widget>> children;
    for (const XmlElement& node : root.children) {
      children.push_back(builder.BuildWidget(node));
      if (!children.back()) return nullptr;
    }
    std::unique_ptr<Window> created = Window::Create(context, window_spec, parent_window ? parent_window->hwnd() : nullptr);
    if (!created) {
      builder.Fail(L"the native window cannot be created");
      return nullptr;
    }
    Window* window = context.AdoptWindow(std::move(created));
    context.Register(window);
    for (auto& child : children) window->root().AddChild(std::move(child))->RegisterTree(context);
    window->root().Layout(adjustLayout_all);
    return window;
  }

  if (!parent_window && !parent_element) {
    builder.Fail(L"an element layout needs a window or an element as parent");
    return nullptr;
  }
  std::unique_ptr<Widget> widget = builder.BuildWidget(root);
  if (!widget) return nullptr;
  Element& host = parent_window ? parent_window->root() : *parent_element;
  Widget* added = host.AddChild(std::move(widget));
  added->RegisterTree(context);
  added->Layout(adjustLayout_self);
  added->Invalidate();
  return added;
}

}  // namespace xcgui
