#include "xcgui/src/style_sheet.h"

#include <cwctype>

namespace xcgui {
namespace {

bool IsIdentifier(const std::wstring& text) {
  if (text.empty()) return false;
  for (wchar_t c : text) {
    if (!iswalnum(c) && c != L'_' && c != L'-' && c < 0x80) return false;
  }
  return true;
}

// Cuts comments out, keeping line breaks so that line numbers stay right; false on an open comment.
bool StripComments(const std::wstring& text, std::wstring* out) {
  out->clear();
  for (size_t i = 0; i < text.size(); ++i) {
    if (text.compare(i, 2, L"/*") == 0) {
      size_t end = text.find(L"*/", i + 2);
      if (end == std::wstring::npos) return false;
      for (size_t j = i; j < end; ++j) {
        if (text[j] == L'\n') out->push_back(L'\n');
      }
      i = end + 1;
      continue;
    }
    out->push_back(text[i]);
  }
  return true;
}

int LineOf(const std::wstring& text, size_t pos) {
  int line = 1;
  for (size_t i = 0; i < pos && i < text.size(); ++i) {
    if (text[i] == L'\n') ++line;
  }
  return line;
}

std::vector<std::wstring> Split(const std::wstring& text, wchar_t separator) {
  std::vector<std::wstring> parts;
  std::wstring part;
  for (wchar_t c : text) {
    if (c == separator) {
      parts.push_back(part);
      part.clear();
    } else {
      part.push_back(c);
    }
  }
  parts.push_back(part);
  return parts;
}

}  // namespace

std::optional<StyleSheet> StyleSheet::Parse(const std::wstring& source, const NamedValues& named,
                                            std::wstring* error) {
  auto fail = [&](size_t pos, const std::wstring& what) -> std::optional<StyleSheet> {
    if (error) *error = L"style sheet line " + std::to_wstring(LineOf(source, pos)) + L": " + what;
    return std::nullopt;
  };
  std::wstring text;
  if (!StripComments(source, &text)) return fail(source.size(), L"unterminated comment");

  StyleSheet sheet;
  size_t pos = 0;
  while (true) {
    size_t open = text.find(L'{', pos);
    if (open == std::wstring::npos) {
      if (!Trim(text.substr(pos)).empty()) return fail(pos, L"text outside a rule");
      break;
    }
    size_t close = text.find(L'}', open);
    if (close == std::wstring::npos) return fail(open, L"rule without '}'");
    if (text.find(L'{', open + 1) < close) return fail(open, L"'{' inside a rule");
    std::wstring selectors = text.substr(pos, open - pos);
    if (selectors.find(L'}') != std::wstring::npos) return fail(pos, L"'}' without a rule");

    Style style;
    for (const std::wstring& declaration : Split(text.substr(open + 1, close - open - 1), L';')) {
      if (Trim(declaration).empty()) continue;
      size_t colon = declaration.find(L':');
      if (colon == std::wstring::npos) return fail(open, L"declaration without ':'");
      std::wstring property = Trim(declaration.substr(0, colon));
      std::wstring value = Trim(declaration.substr(colon + 1));
      switch (SetStyleProperty(style, property, value, named)) {
        case PropertyResult::kSet:
          break;
        case PropertyResult::kUnknownProperty:
          return fail(open, L"unknown property '" + property + L"'");
        case PropertyResult::kBadValue:
          return fail(open, L"bad value '" + value + L"' for '" + property + L"'");
      }
    }

    for (const std::wstring& raw : Split(selectors, L',')) {
      std::wstring selector = Trim(raw);
      Rule rule{SelectorKind::kType, selector, style};
      if (!selector.empty() && selector[0] == L'.') rule = {SelectorKind::kClass, selector.substr(1), style};
      if (!selector.empty() && selector[0] == L'#') rule = {SelectorKind::kName, selector.substr(1), style};
      if (!IsIdentifier(rule.key)) return fail(pos, L"bad selector '" + selector + L"'");
      sheet.rules_.push_back(std::move(rule));
    }
    pos = close + 1;
  }
  return sheet;
}

Style StyleSheet::Resolve(const std::wstring& type, const std::wstring& name,
                          const std::wstring& classes) const {
  // The class names, separated by white space (a string stream here would pull the whole locale machinery
  // of the C++ library into the program).
  std::vector<std::wstring> class_list;
  std::size_t start = 0;
  while (start < classes.size()) {
    while (start < classes.size() && std::iswspace(classes[start])) ++start;
    std::size_t end = start;
    while (end < classes.size() && !std::iswspace(classes[end])) ++end;
    if (end > start) class_list.push_back(classes.substr(start, end - start));
    start = end;
  }

  Style style;
  for (SelectorKind kind : {SelectorKind::kType, SelectorKind::kClass, SelectorKind::kName}) {
    for (const Rule& rule : rules_) {
      if (rule.kind != kind) continue;
      bool matches = false;
      switch (kind) {
        case SelectorKind::kType:
          matches = rule.key == type;
          break;
        case SelectorKind::kClass:
          for (const std::wstring& c : class_list) matches = matches || rule.key == c;
          break;
        case SelectorKind::kName:
          matches = !name.empty() && rule.key == name;
          break;
      }
      if (matches) style.MergeFrom(rule.style);
    }
  }
  return style;
}

}  // namespace xcgui
