// rg_BianZhengShuShuZuLei: the integer array of the basic library, pointer-sized integers in one buffer.
#pragma once

#include <cstdint>

#include "runtime/class_family.h"
#include "runtime/object_bases.h"
#include "runtime/pel_mem.h"

namespace rg_Pelor_JiBen {

// Plain pointer-sized values in a byte buffer (4-byte slots in the 32-bit program); copies copy the buffer.
// One thread at a time.
class rg_BianZhengShuShuZuLei : public rg_KuoZhanDuiXiangLei {
  PEL_OBJECT_CLASS(rg_BianZhengShuShuZuLei, rg_KuoZhanDuiXiangLei, "rg_Pelor_JiBen::rg_BianZhengShuShuZuLei")

  // Growth step of the storage, in bytes.
  static constexpr std::int32_t kStorageStep = 128;
  // Bytes of one element in the binary form, in every build.
  static constexpr std::int32_t kSlotBytes = 4;

  rg_BianZhengShuShuZuLei();
  rg_BianZhengShuShuZuLei(const rg_BianZhengShuShuZuLei& other);
  rg_BianZhengShuShuZuLei& operator=(const rg_BianZhengShuShuZuLei& other);

  // Number of elements.
  int GetCount() const { return storage_.GetLength() / static_cast<std::int32_t>(sizeof(std::intptr_t)); }
  // Element `index`; 0 for an index out of range.
  std::intptr_t GetAt(int index) const;
  // Appends `value`.
  void Add(std::intptr_t value);

  // Appends the array header and one "%d" line per shown element (limit < 0: all; 0: 64).
  void DumpTo(CWString& output, int limit) const override;
  // The binary form, the same in every build: a 32-bit byte length, then each element in a 4-byte slot.
  // Loading follows CPelMem::LoadFrom (a short or negative length changes nothing; short bytes empty the
  // array); a trailing partial slot is not an element. Saving an element that 32 bits cannot hold (64-bit
  // builds only) fails the stream (kFailedWrite) and writes nothing.
  void LoadFrom(vexo::BinaryStream& stream) override;
  void SaveTo(vexo::BinaryStream& stream) const override;

 protected:
  bool HasEqualFields(const rg_BianZhengShuShuZuLei& other) const {
    return rg_KuoZhanDuiXiangLei::HasEqualFields(other) && storage_.IsEqual(other.storage_);
  }

 private:
  CPelMem storage_;
};

}  // namespace rg_Pelor_JiBen
