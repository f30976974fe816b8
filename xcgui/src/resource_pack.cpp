#include "xcgui/src/resource_pack.h"

#include <windows.h>

#include "xcgui/src/image.h"

namespace xcgui {

std::optional<std::wstring> DecodeUtf8(const std::string& bytes) {
  std::string_view view(bytes);
  if (view.substr(0, 3) == "\xEF\xBB\xBF") view.remove_prefix(3);
  if (view.empty()) return std::wstring();
  if (view.size() > 0x7FFFFFFF) return std::nullopt;
  int size = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, view.data(), static_cast<int>(view.size()),
                                 nullptr, 0);
  if (size <= 0) return std::nullopt;
  std::wstring text(size, L'\0');
  MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, view.data(), static_cast<int>(view.size()), text.data(),
                      size);
  return text;
}

bool ResourcePack::Add(const XmlElement& root, const MemberReader& read, IWICImagingFactory* imaging,
                       const std::function<const Image*(std::unique_ptr<Image>)>& keep_image,
                       std::wstring* error) {
  auto fail = [&](const std::wstring& what) {
    if (error) *error = what;
    return false;
  };
  if (root.name != L"resource") return fail(L"the pack's root must be <resource>");

  // Everything is checked and decoded first; the pack changes only when all of it is good.
  ResourcePack merged = *this;
  std::vector<std::pair<std::wstring, std::unique_ptr<Image>>> new_images;
  std::vector<std::wstring> sheets;
  for (const XmlElement& item : root.children) {
    const std::wstring* name = item.Attribute(L"name");
    if (item.name == L"style") {
      const std::wstring* src = item.Attribute(L"src");
      if (!src) return fail(L"<style> needs src");
      auto bytes = read(*src, error);
      if (!bytes) return false;
      auto text = DecodeUtf8(*bytes);
      if (!text) return fail(L"style sheet '" + *src + L"' is not UTF-8");
      sheets.push_back(*text);
      continue;
    }
    if (!name || name->empty()) return fail(L"<" + item.name + L"> needs a name");
    if (item.name == L"color") {
      const std::wstring* value = item.Attribute(L"value");
      auto color = value ? ParseColor(*value, {}) : std::nullopt;
      if (!color) return fail(L"colour '" + *name + L"' has no valid value");
      merged.colors_[*name] = *color;
    } else if (item.name == L"font") {
      FontSpec font;
      Style style;
      for (const auto& [key, value] : item.attributes) {
        if (key == L"name") continue;
        std::wstring property = key == L"family" ? L"font-family" : key == L"size" ? L"font-size" : key;
        if (key == L"bold" || key == L"italic") {
          auto flag = ParseBool(value);
          if (!flag) return fail(L"font '" + *name + L"': bad value for " + key);
          (key == L"bold" ? style.font_bold : style.font_italic) = *flag;
          continue;
        }
        if (property != L"font-family" && property != L"font-size") {
          return fail(L"font '" + *name + L"': unknown attribute " + key);
        }
        if (SetStyleProperty(style, property, value, {}) != PropertyResult::kSet) {
          return fail(L"font '" + *name + L"': bad value for " + key);
        }
      }
      merged.fonts_[*name] = style.Font(font);
    } else if (item.name == L"image") {
      const std::wstring* src = item.Attribute(L"src");
      if (!src) return fail(L"image '" + *name + L"' needs src");
      auto bytes = read(*src, error);
      if (!bytes) return false;
      auto image = Image::Decode(imaging, bytes->data(), bytes->size());
      if (!image) return fail(L"image '" + *src + L"' cannot be decoded");
      new_images.emplace_back(*name, std::move(image));
    } else {
      return fail(L"unknown pack entry <" + item.name + L">");
    }
  }
  for (const std::wstring& text : sheets) {
    auto sheet = StyleSheet::Parse(text, merged.Named(), error);
    if (!sheet) return false;
    merged.sheet_.Append(*sheet);
  }
  for (auto& [name, image] : new_images) merged.images_[name] = keep_image(std::move(image));
  *this = std::move(merged);
  return true;
}

void ResourcePack::Clear() { *this = ResourcePack(); }

std::optional<Argb> ResourcePack::Color(const std::wstring& name) const {
  auto it = colors_.find(name);
  return it == colors_.end() ? std::nullopt : std::optional<Argb>(it->second);
}

std::optional<FontSpec> ResourcePack::Font(const std::wstring& name) const {
  auto it = fonts_.find(name);
  return it == fonts_.end() ? std::nullopt : std::optional<FontSpec>(it->second);
}

const Image* ResourcePack::FindImage(const std::wstring& name) const {
  auto it = images_.find(name);
  return it == images_.end() ? nullptr : it->second;
}

NamedValues ResourcePack::Named() const {
  return {[this](const std::wstring& name) { return Color(name); },
          [this](const std::wstring& name) { return Font(name); }};
}

}  // namespace xcgui
