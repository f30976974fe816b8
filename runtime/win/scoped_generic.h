// Owner of one platform resource value that a traits class knows how to close; base of the handle holders.
#pragma once

#include <utility>

namespace vexo::win {

// Traits supply: static T InvalidValue(); static bool IsValid(T); static void Free(T).
// The holder closes its value when destroyed or reset; release() hands ownership back to the caller.
template <typename T, typename Traits>
class ScopedGeneric {
 public:
  ScopedGeneric() = default;
  explicit ScopedGeneric(T value) : value_(value) {}
  ~ScopedGeneric() { reset(); }

  ScopedGeneric(ScopedGeneric&& other) noexcept : value_(other.release()) {}
  ScopedGeneric& operator=(ScopedGeneric&& other) noexcept {
    reset(other.release());
    return *this;
  }
  ScopedGeneric(const ScopedGeneric&) = delete;
  ScopedGeneric& operator=(const ScopedGeneric&) = delete;

  // The held value; still owned by the holder.
  T get() const { return value_; }
  bool is_valid() const { return Traits::IsValid(value_); }
  explicit operator bool() const { return is_valid(); }

  // Closes the held value (if any) and takes ownership of `value`.
  void reset(T value = Traits::InvalidValue()) {
    if (value_ != value && Traits::IsValid(value_)) Traits::Free(value_);
    value_ = value;
  }

  // Gives up ownership without closing; the caller now owns the returned value.
  T release() { return std::exchange(value_, Traits::InvalidValue()); }

  // Closes the held value and returns its address, for APIs that return a new value through a pointer.
  T* receive() {
    reset();
    return &value_;
  }

 private:
  T value_ = Traits::InvalidValue();
};

// Traits of the many handle kinds whose empty value is null and that one platform function closes.
template <typename T, auto kClose>
struct NullHandleTraits {
  static T InvalidValue() { return nullptr; }
  static bool IsValid(T value) { return value != nullptr; }
  static void Free(T value) { kClose(value); }
};

// Holder of a handle of type T that is empty when null and closed by calling kClose(handle).
template <typename T, auto kClose>
using ScopedNullHandle = ScopedGeneric<T, NullHandleTraits<T, kClose>>;

}  // namespace vexo::win
