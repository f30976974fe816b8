#include "runtime/text_array.h"

#include <cstdint>
#include <cwchar>

#include "runtime/array_dump.h"
#include "runtime/binary_stream.h"

namespace rg_Pelor_JiBen {

void rg_WenBenShuZuLei::DumpTo(CWString& output, int limit) const {
  const int shown = vexo::AppendArrayDumpHeader(output, GetCount(), limit);
  for (int i = 0; i < shown; ++i) {
    CWString quoted;
    vexo::AppendQuotedText(quoted, GetAt(i));
    output.AppendFormat(L"\r\n%d. %s", i + 1, quoted.GetText());
  }
}

void rg_WenBenShuZuLei::LoadFrom(vexo::BinaryStream& stream) {
  if (stream.GetError() != 0) return;
  strings_.RemoveAll();
  std::int32_t count = 0;
  if (!stream.ReadValue(count)) return;
  if (count < 0) {
    stream.SetError(vexo::BinaryStream::kShortRead);
    return;
  }
  for (std::int32_t i = 0; i < count; ++i) {
    CWString text;
    text.LoadFrom(stream);
    if (stream.GetError() != 0) return;
    strings_.Add(text.GetText());
  }
}

void rg_WenBenShuZuLei::SaveTo(vexo::BinaryStream& stream) const {
  stream.WriteValue<std::int32_t>(GetCount());
  for (int i = 0; i < GetCount(); ++i) {
    const wchar_t* text = GetAt(i);
    const std::size_t length = std::wcslen(text);
    const std::int32_t bytes = length == 0 ? 0 : static_cast<std::int32_t>((length + 1) * sizeof(wchar_t));
    stream.WriteValue(bytes);
    if (bytes > 0) stream.Write(text, static_cast<std::size_t>(bytes));
  }
}

}  // namespace rg_Pelor_JiBen
