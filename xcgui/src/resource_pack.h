// The resource pack format: named colours, fonts and images, and the style sheet, shared by all layouts.
#pragma once

#include <wincodec.h>

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "xcgui/src/style.h"
#include "xcgui/src/style_sheet.h"
#include "xcgui/src/xml_document.h"

namespace xcgui {

class Image;

// Reads another member of the archive the pack came from; nullopt when it cannot.
using MemberReader = std::function<std::optional<std::string>(const std::wstring& member, std::wstring* error)>;

class ResourcePack {
 public:
  // Adds a pack: <resource> with <color name value>, <font name family size bold italic>,
  // <image name src> and <style src>; images and the style sheet are read with `read`, images decoded
  // with `imaging`. On any error nothing is added and *error says why. `keep_image` takes over each
  // decoded image.
  bool Add(const XmlElement& root, const MemberReader& read, IWICImagingFactory* imaging,
           const std::function<const Image*(std::unique_ptr<Image>)>& keep_image, std::wstring* error);
  // Forgets everything (the images themselves belong to the context).
  void Clear();

  std::optional<Argb> Color(const std::wstring& name) const;
  std::optional<FontSpec> Font(const std::wstring& name) const;
  // The named image; null when there is none.
  const Image* FindImage(const std::wstring& name) const;
  const StyleSheet& style_sheet() const { return sheet_; }
  // Lookups of named colours and fonts, for style parsing.
  NamedValues Named() const;

 private:
  std::map<std::wstring, Argb> colors_;
  std::map<std::wstring, FontSpec> fonts_;
  std::map<std::wstring, const Image*> images_;
  StyleSheet sheet_;
};

// Text of a UTF-8 member (a BOM is skipped); nullopt when it is not valid UTF-8.
std::optional<std::wstring> DecodeUtf8(const std::string& bytes);

}  // namespace xcgui
