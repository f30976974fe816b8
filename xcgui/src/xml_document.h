// XML documents read with the platform's XmlLite parser into a small element tree.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace xcgui {

struct XmlElement {
  std::wstring name;
  std::vector<std::pair<std::wstring, std::wstring>> attributes;
  std::vector<XmlElement> children;
  std::wstring text;  // character data directly inside the element

  // The attribute's value, or null when the element has none of that name.
  const std::wstring* Attribute(const std::wstring& attribute) const;
};

// Parses a whole document (UTF-8 or UTF-16, as its BOM or declaration says) and returns its root
// element. Document type declarations are refused, and so is nesting deeper than kMaxXmlDepth. nullopt on
// any error, with a message in *error.
constexpr int kMaxXmlDepth = 64;
std::optional<XmlElement> ParseXml(const std::string& bytes, std::wstring* error);

}  // namespace xcgui
