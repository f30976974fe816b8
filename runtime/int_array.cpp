#include "runtime/int_array.h"

#include <cstring>

#include "runtime/array_dump.h"
#include "runtime/binary_stream.h"
#include "runtime/w_string.h"

namespace rg_Pelor_JiBen {

rg_BianZhengShuShuZuLei::rg_BianZhengShuShuZuLei() { storage_.SetStep(kStorageStep); }

rg_BianZhengShuShuZuLei::rg_BianZhengShuShuZuLei(const rg_BianZhengShuShuZuLei& other)
    : rg_BianZhengShuShuZuLei() {
  *this = other;
}

rg_BianZhengShuShuZuLei& rg_BianZhengShuShuZuLei::operator=(const rg_BianZhengShuShuZuLei& other) {
  rg_KuoZhanDuiXiangLei::operator=(other);
  storage_.CopyFrom(other.storage_);
  return *this;
}

std::intptr_t rg_BianZhengShuShuZuLei::GetAt(int index) const {
  if (index < 0 || index >= GetCount()) return 0;
  std::intptr_t value = 0;
  std::memcpy(&value, static_cast<const std::uint8_t*>(storage_.GetData()) + index * sizeof(value), sizeof(value));
  return value;
}

void rg_BianZhengShuShuZuLei::Add(std::intptr_t value) { storage_.Append(&value, sizeof(value)); }

void rg_BianZhengShuShuZuLei::DumpTo(CWString& output, int limit) const {
  const int shown = vexo::AppendArrayDumpHeader(output, GetCount(), limit);
  for (int i = 0; i < shown; ++i) output.AppendFormat(L"\r\n%d. %d", i + 1, static_cast<int>(GetAt(i)));
}

// In the 32-bit program the storage is the binary form itself. A 64-bit build converts between its 8-byte
// elements and the form's 4-byte slots.
void rg_BianZhengShuShuZuLei::LoadFrom(vexo::BinaryStream& stream) {
  if constexpr (sizeof(std::intptr_t) == kSlotBytes) {
    storage_.LoadFrom(stream);
  } else {
    std::int32_t length = 0;
    if (!stream.ReadValue(length)) return;
    if (length < 0) {
      stream.SetError(vexo::BinaryStream::kShortRead);
      return;
    }
    CPelMem slots;
    slots.LoadBytesFrom(stream, length);
    storage_.SetLength(0);
    const auto* bytes = static_cast<const std::uint8_t*>(slots.GetData());
    for (std::int32_t offset = 0; offset + kSlotBytes <= slots.GetLength(); offset += kSlotBytes) {
      std::int32_t slot = 0;
      std::memcpy(&slot, bytes + offset, kSlotBytes);
      Add(slot);
    }
  }
}

void rg_BianZhengShuShuZuLei::SaveTo(vexo::BinaryStream& stream) const {
  if constexpr (sizeof(std::intptr_t) == kSlotBytes) {
    storage_.SaveTo(stream);
  } else {
    CPelMem slots;
    for (int i = 0; i < GetCount(); ++i) {
      const std::intptr_t value = GetAt(i);
      const auto slot = static_cast<std::int32_t>(value);
      if (slot != value) {
        stream.SetError(vexo::BinaryStream::kFailedWrite);
        return;
      }
      slots.Append(&slot, kSlotBytes);
    }
    slots.SaveTo(stream);
  }
}

}  // namespace rg_Pelor_JiBen
