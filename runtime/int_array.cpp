#include "runtime/int_array.h"

#include <cstring>

#include "runtime/array_dump.h"
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

void rg_BianZhengShuShuZuLei::LoadFrom(vexo::BinaryStream& stream) { storage_.LoadFrom(stream); }

void rg_BianZhengShuShuZuLei::SaveTo(vexo::BinaryStream& stream) const { storage_.SaveTo(stream); }

}  // namespace rg_Pelor_JiBen
