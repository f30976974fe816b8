// rg_WenBenShuZuLei: the text array of the basic library, a list of owned strings.
#pragma once

#include "runtime/class_family.h"
#include "runtime/m_string_array.h"
#include "runtime/object_bases.h"
#include "runtime/w_string.h"

namespace rg_Pelor_JiBen {

// Elements are owned copies; an empty element is stored as a null slot and reads as the empty string.
// Copies copy every string. One thread at a time.
class rg_WenBenShuZuLei : public rg_KuoZhanDuiXiangLei {
  PEL_OBJECT_CLASS(rg_WenBenShuZuLei, rg_KuoZhanDuiXiangLei, "rg_Pelor_JiBen::rg_WenBenShuZuLei")

  rg_WenBenShuZuLei() = default;
  rg_WenBenShuZuLei(const rg_WenBenShuZuLei&) = default;
  rg_WenBenShuZuLei& operator=(const rg_WenBenShuZuLei&) = default;

  // Number of elements.
  int GetCount() const { return strings_.GetCount(); }
  // Element `index`, never null: the shared empty literal for an empty element or an index out of range.
  // Owned by the array.
  const wchar_t* GetAt(int index) const { return strings_.GetAt(index); }
  // Appends a copy of `text`'s characters.
  void Add(const CWString& text) { strings_.Add(text.GetText()); }
  // Appends a copy of zero-terminated `text` (null: an empty element).
  void Add(const wchar_t* text) { strings_.Add(text); }

  // Appends the array header and one quoted, escaped line per shown element (limit < 0: all; 0: 64).
  void DumpTo(CWString& output, int limit) const override;
  // Replaces the elements with a 32-bit count and that many texts in the text's binary form, stopping at
  // the first stream error (the elements read so far stay). A negative count fails the stream
  // (kShortRead). Nothing once the stream has failed.
  void LoadFrom(vexo::BinaryStream& stream) override;
  // Writes the count, then each element in the text's binary form (an empty one as length 0).
  void SaveTo(vexo::BinaryStream& stream) const override;

 protected:
  bool HasEqualFields(const rg_WenBenShuZuLei& other) const {
    return rg_KuoZhanDuiXiangLei::HasEqualFields(other) && strings_.HasSameElements(other.strings_);
  }

 private:
  CMStringArray strings_;
};

}  // namespace rg_Pelor_JiBen
