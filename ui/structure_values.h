// The plain record values that UI events hand to handlers: point, size and the three menu records.
#pragma once

#include <array>
#include <cstdint>
#include <cstring>

#include "runtime/class_family.h"
#include "runtime/object_bases.h"

namespace vexo::ui {

// One record of Traits::kSize bytes under the structure base, registered as Traits::kName. Reads go through
// the data pointer when it is set and to the object's own storage otherwise; every value this layer makes
// keeps the pointer null. Copies, clones and resets leave the pointer null and the bytes in the own storage.
template <class Traits>
class StructureValue : public rg_Pelor_JiBen::rg_JieGouJiChuLei {
  PEL_OBJECT_CLASS(StructureValue, rg_Pelor_JiBen::rg_JieGouJiChuLei, Traits::kName)

  static constexpr std::size_t kSize = Traits::kSize;

  // All bytes 0.
  StructureValue() = default;
  StructureValue(const StructureValue& other) : rg_JieGouJiChuLei(other) { CopyBytes(other.Bytes()); }
  StructureValue& operator=(const StructureValue& other) {
    rg_JieGouJiChuLei::operator=(other);
    data_ = nullptr;
    CopyBytes(other.Bytes());
    return *this;
  }

  // A value holding a copy of the kSize bytes at `record`; all bytes 0 when `record` is null.
  static StructureValue CopyOf(const void* record) {
    StructureValue value;
    if (record != nullptr) value.CopyBytes(static_cast<const std::uint8_t*>(record));
    return value;
  }

  // The record's bytes (kSize of them), owned by the value or by whoever set the data pointer.
  const std::uint8_t* Bytes() const { return data_ != nullptr ? data_ : storage_.data(); }
  // The 32-bit word at `index` (x and y of a point, width and height of a size); 0 outside the record.
  std::int32_t GetWord(int index) const {
    std::int32_t word = 0;
    if (index >= 0 && static_cast<std::size_t>(index + 1) * sizeof(word) <= kSize) {
      std::memcpy(&word, Bytes() + index * sizeof(word), sizeof(word));
    }
    return word;
  }

 protected:
  bool HasEqualFields(const StructureValue& other) const {
    return rg_JieGouJiChuLei::HasEqualFields(other) && std::memcmp(Bytes(), other.Bytes(), kSize) == 0;
  }

 private:
  void CopyBytes(const std::uint8_t* bytes) { std::memcpy(storage_.data(), bytes, kSize); }

  const std::uint8_t* data_ = nullptr;
  std::array<std::uint8_t, kSize> storage_{};
};

namespace structure {

struct ZuoBiao {
  static constexpr const char* kName = "rg_xc_gui::rg_ZuoBiao_xc";
  static constexpr std::size_t kSize = 8;
};
struct CheCun {
  static constexpr const char* kName = "rg_xc_gui::rg_CheCun_xc";
  static constexpr std::size_t kSize = 8;
};
struct DanChuChuangKou {
  static constexpr const char* kName = "rg_xc_gui::rg_CaiChan_DanChuChuangKouJieGou";
  static constexpr std::size_t kSize = 8;
};
struct HuiZhiBeiJing {
  static constexpr const char* kName = "rg_xc_gui::rg_CaiChan_HuiZhiBeiJingJieGou";
  static constexpr std::size_t kSize = 12;
};
struct HuiZhiXiang {
  static constexpr const char* kName = "rg_xc_gui::rg_CaiChan_HuiZhiXiangJieGou";
  static constexpr std::size_t kSize = 40;
};

}  // namespace structure

}  // namespace vexo::ui

namespace rg_xc_gui {

// Point: x, y.
using rg_ZuoBiao_xc = vexo::ui::StructureValue<vexo::ui::structure::ZuoBiao>;
// Size: width, height.
using rg_CheCun_xc = vexo::ui::StructureValue<vexo::ui::structure::CheCun>;
// Menu popup-window record: two 32-bit words.
using rg_CaiChan_DanChuChuangKouJieGou = vexo::ui::StructureValue<vexo::ui::structure::DanChuChuangKou>;
// Menu background-drawing record: three 32-bit words.
using rg_CaiChan_HuiZhiBeiJingJieGou = vexo::ui::StructureValue<vexo::ui::structure::HuiZhiBeiJing>;
// Menu item-drawing record: 40 bytes.
using rg_CaiChan_HuiZhiXiangJieGou = vexo::ui::StructureValue<vexo::ui::structure::HuiZhiXiang>;

}  // namespace rg_xc_gui

static_assert(sizeof(rg_xc_gui::rg_ZuoBiao_xc) == sizeof(CPelObject) + sizeof(void*) + 8);
static_assert(sizeof(rg_xc_gui::rg_CaiChan_HuiZhiXiangJieGou) == sizeof(CPelObject) + sizeof(void*) + 40);
