// The eight boxed value classes of the basic library, written once as vexo::BoxedValue<Traits>.
#pragma once

#include <cstdint>
#include <type_traits>

#include "runtime/binary_stream.h"
#include "runtime/class_family.h"
#include "runtime/object_bases.h"
#include "runtime/w_string.h"

namespace vexo {

// The type whose bytes a boxed value's stream form holds: Traits::Stream where the traits fix the width,
// else the value's own type.
template <class Traits, class = void>
struct BoxedStreamType {
  using type = typename Traits::Value;
};
template <class Traits>
struct BoxedStreamType<Traits, std::void_t<typename Traits::Stream>> {
  using type = typename Traits::Stream;
};

// One scalar under CPelBaseDataType. `Traits` gives what differs between the classes: `Value` (the scalar;
// its width is the stream width unless `Stream` names another type), `kName` (the registered name),
// `Write(CWString&, Value)` (the dump form) and `Equal(Value, Value)`. The value is 0 after construction
// and Reset. One thread at a time.
template <class Traits>
class BoxedValue : public CPelBaseDataType {
  PEL_OBJECT_CLASS(BoxedValue, CPelBaseDataType, Traits::kName)

  using ValueType = typename Traits::Value;
  using StreamType = typename BoxedStreamType<Traits>::type;

  // Value 0.
  BoxedValue() = default;
  explicit BoxedValue(ValueType value) : value_(value) {}
  BoxedValue(const BoxedValue&) = default;
  BoxedValue& operator=(const BoxedValue&) = default;

  // The boxed scalar.
  ValueType GetValue() const { return value_; }
  void SetValue(ValueType value) { value_ = value; }
  // Slot 18: the address of the value, owned by the object.
  void* GetValueAddress() override { return &value_; }

  // Replaces `output` (literal dropped, storage freed) with the value's form; the limit is not used.
  void DumpTo(CWString& output, int) const override {
    output.Clear();
    Traits::Write(output, value_);
  }
  // Reads the value's bytes; a short read fails the stream (kShortRead) and keeps the old value.
  void LoadFrom(BinaryStream& stream) override {
    StreamType value{};
    if (stream.ReadValue(value)) value_ = static_cast<ValueType>(value);
  }
  // Writes the value's bytes; a failed write, or a value that the stream form's width cannot hold, fails
  // the stream (kFailedWrite).
  void SaveTo(BinaryStream& stream) const override {
    const auto form = static_cast<StreamType>(value_);
    if constexpr (!std::is_same_v<StreamType, ValueType>) {
      if (static_cast<ValueType>(form) != value_) {
        stream.SetError(BinaryStream::kFailedWrite);
        return;
      }
    }
    stream.WriteValue(form);
  }

 protected:
  bool HasEqualFields(const BoxedValue& other) const {
    return CPelBaseDataType::HasEqualFields(other) && Traits::Equal(value_, other.value_);
  }

 private:
  ValueType value_{};
};

namespace boxed {

// Bit-for-bit equality and the decimal form, shared by the integer classes.
template <class T>
struct Integer {
  using Value = T;
  static bool Equal(Value a, Value b) { return a == b; }
  static void Write(CWString& output, Value value) { output.AppendInt64(value); }
};

struct ZhengShu : Integer<std::int32_t> {
  static constexpr const char* kName = "rg_Pelor_JiBen::rg_ZhengShuLei";
};
struct ChangZhengShu : Integer<std::int64_t> {
  static constexpr const char* kName = "rg_Pelor_JiBen::rg_ChangZhengShuLei";
};
// A boolean held in 32 bits; any non-zero value is true, but equality compares the 32 bits.
struct LuoJiXing : Integer<std::int32_t> {
  static constexpr const char* kName = "rg_Pelor_JiBen::rg_LuoJiXingLei";
};
// A pointer-sized integer. Its stream form is 32 bits wide in every build, so that the 32-bit program and a
// 64-bit build read each other's streams.
struct BianZhengShu : Integer<std::intptr_t> {
  using Stream = std::int32_t;
  static constexpr const char* kName = "rg_Pelor_JiBen::rg_BianZhengShuLei";
};
struct DuanZhengShu : Integer<std::int16_t> {
  static constexpr const char* kName = "rg_Pelor_JiBen::rg_DuanZhengShuLei";
};
// One byte, shown as a signed 8-bit number (200 shows as -56).
struct ZiJie : Integer<std::uint8_t> {
  static constexpr const char* kName = "rg_Pelor_JiBen::rg_ZiJieLei";
  static void Write(CWString& output, Value value) { output.AppendInt64(static_cast<std::int8_t>(value)); }
};
// One UTF-16 unit, shown as the character itself (nothing for unit 0).
struct ZiFu : Integer<wchar_t> {
  static constexpr const char* kName = "rg_Pelor_JiBen::rg_ZiFuLei";
  static void Write(CWString& output, Value value) { output.AppendChar(value); }
};
// A double; values whose difference lies within ±0.000001 are equal.
struct XiaoShu {
  using Value = double;
  static constexpr const char* kName = "rg_Pelor_JiBen::rg_XiaoShuLei";
  static bool Equal(Value a, Value b) {
    const double difference = a - b;
    return difference >= -0.000001 && difference <= 0.000001;
  }
  static void Write(CWString& output, Value value) { output.AppendDouble(value); }
};

}  // namespace boxed

}  // namespace vexo

namespace rg_Pelor_JiBen {

using rg_ZhengShuLei = vexo::BoxedValue<vexo::boxed::ZhengShu>;
using rg_ChangZhengShuLei = vexo::BoxedValue<vexo::boxed::ChangZhengShu>;
using rg_LuoJiXingLei = vexo::BoxedValue<vexo::boxed::LuoJiXing>;
using rg_XiaoShuLei = vexo::BoxedValue<vexo::boxed::XiaoShu>;
using rg_BianZhengShuLei = vexo::BoxedValue<vexo::boxed::BianZhengShu>;
using rg_ZiFuLei = vexo::BoxedValue<vexo::boxed::ZiFu>;
using rg_ZiJieLei = vexo::BoxedValue<vexo::boxed::ZiJie>;
using rg_DuanZhengShuLei = vexo::BoxedValue<vexo::boxed::DuanZhengShu>;

}  // namespace rg_Pelor_JiBen

// The values follow the object header; the 8-byte ones on an 8-byte boundary. The 32-bit program's 4-byte
// values end the object; the 64-bit build pads them to its 8-byte alignment.
static_assert(sizeof(rg_Pelor_JiBen::rg_ZhengShuLei) == (sizeof(void*) == 4 ? 16 : 24));
static_assert(sizeof(rg_Pelor_JiBen::rg_ZiJieLei) == sizeof(rg_Pelor_JiBen::rg_ZhengShuLei), "one byte, padded");
static_assert(alignof(rg_Pelor_JiBen::rg_XiaoShuLei) == 8 && alignof(rg_Pelor_JiBen::rg_ChangZhengShuLei) == 8);
static_assert(sizeof(rg_Pelor_JiBen::rg_XiaoShuLei) == 24 && sizeof(rg_Pelor_JiBen::rg_ChangZhengShuLei) == 24);
