// The style sheet format (a small CSS subset): rules that style widgets by type, class or name.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "xcgui/src/style.h"

namespace xcgui {

class StyleSheet {
 public:
  // Parses the sheet. Comments /* */, rules "selectors { property: value; ... }", selectors separated by
  // commas, each a type name (button), .class or #name. nullopt on any syntax error, unknown property or
  // bad value, with a message naming the line in *error.
  static std::optional<StyleSheet> Parse(const std::wstring& text, const NamedValues& named,
                                         std::wstring* error);

  // The style for a widget: type rules, then class rules, then name rules, each group in sheet order.
  // `classes` is the widget's class attribute (space-separated names).
  Style Resolve(const std::wstring& type, const std::wstring& name, const std::wstring& classes) const;

  // Adds the other sheet's rules after this one's (they win over equally specific ones here).
  void Append(const StyleSheet& other) { rules_.insert(rules_.end(), other.rules_.begin(), other.rules_.end()); }
  bool empty() const { return rules_.empty(); }

 private:
  enum class SelectorKind { kType = 0, kClass = 1, kName = 2 };
  struct Rule {
    SelectorKind kind;
    std::wstring key;
    Style style;
  };
  std::vector<Rule> rules_;
};

}  // namespace xcgui
