#include "xcgui/src/xml_document.h"

#include <windows.h>
#include <objidl.h>
#include <shlwapi.h>
#include <xmllite.h>

#include "runtime/win/com_ptr.h"

namespace xcgui {

const std::wstring* XmlElement::Attribute(const std::wstring& attribute) const {
  for (const auto& [key, value] : attributes) {
    if (key == attribute) return &value;
  }
  return nullptr;
}

std::optional<XmlElement> ParseXml(const std::string& bytes, std::wstring* error) {
  auto fail = [&](const std::wstring& what) -> std::optional<XmlElement> {
    if (error) *error = what;
    return std::nullopt;
  };
  if (bytes.empty()) return fail(L"empty document");
  if (bytes.size() > 0x7FFFFFFF) return fail(L"document too large");

  vexo::win::ComPtr<IStream> stream(
      SHCreateMemStream(reinterpret_cast<const BYTE*>(bytes.data()), static_cast<UINT>(bytes.size())));
  if (!stream) return fail(L"out of memory");
  vexo::win::ComPtr<IXmlReader> reader;
  if (FAILED(CreateXmlReader(__uuidof(IXmlReader), reinterpret_cast<void**>(reader.receive()), nullptr))) {
    return fail(L"XmlLite is not available");
  }
  reader->SetProperty(XmlReaderProperty_DtdProcessing, DtdProcessing_Prohibit);
  if (FAILED(reader->SetInput(stream.get()))) return fail(L"cannot read the document");

  std::optional<XmlElement> root;
  std::vector<XmlElement> open;  // elements started and not yet ended, outermost first
  auto close_top = [&]() {
    XmlElement done = std::move(open.back());
    open.pop_back();
    if (open.empty()) {
      root = std::move(done);
    } else {
      open.back().children.push_back(std::move(done));
    }
  };

  XmlNodeType type;
  HRESULT hr;
  while ((hr = reader->Read(&type)) == S_OK) {
    switch (type) {
      case XmlNodeType_Element: {
        if (root) return fail(L"more than one root element");
        if (static_cast<int>(open.size()) >= kMaxXmlDepth) return fail(L"elements nested too deeply");
        XmlElement element;
        const wchar_t* name = nullptr;
        if (FAILED(reader->GetLocalName(&name, nullptr))) return fail(L"unreadable element name");
        element.name = name;
        bool empty = reader->IsEmptyElement();
        for (hr = reader->MoveToFirstAttribute(); hr == S_OK; hr = reader->MoveToNextAttribute()) {
          const wchar_t* key = nullptr;
          const wchar_t* value = nullptr;
          if (FAILED(reader->GetLocalName(&key, nullptr)) || FAILED(reader->GetValue(&value, nullptr))) {
            return fail(L"unreadable attribute");
          }
          if (element.Attribute(key)) return fail(L"attribute '" + std::wstring(key) + L"' given twice");
          element.attributes.emplace_back(key, value);
        }
        if (FAILED(hr)) return fail(L"malformed attribute");
        open.push_back(std::move(element));
        if (empty) close_top();
        break;
      }
      case XmlNodeType_EndElement: {
        if (open.empty()) return fail(L"end tag without a start tag");
        const wchar_t* name = nullptr;
        if (FAILED(reader->GetLocalName(&name, nullptr)) || open.back().name != name) {
          return fail(L"end tag does not match '" + open.back().name + L"'");
        }
        close_top();
        break;
      }
      case XmlNodeType_Text:
      case XmlNodeType_CDATA: {
        const wchar_t* value = nullptr;
        if (FAILED(reader->GetValue(&value, nullptr))) return fail(L"unreadable text");
        if (open.empty()) return fail(L"text outside the root element");
        open.back().text += value;
        break;
      }
      case XmlNodeType_DocumentType:
        return fail(L"document type declarations are not allowed");
      default:
        break;
    }
  }
  if (FAILED(hr)) {
    UINT line = 0;
    reader->GetLineNumber(&line);
    return fail(L"malformed XML near line " + std::to_wstring(line));
  }
  if (!open.empty()) return fail(L"element '" + open.back().name + L"' is not closed");
  if (!root) return fail(L"no root element");
  return root;
}

}  // namespace xcgui
