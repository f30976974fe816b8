// An owning reference to a counted holder (CRefObject and its subclasses).
#pragma once

#include <utility>

namespace vexo {

// Holds one reference: Release on destruction, AddRef on copy. Null is allowed.
template <class T>
class CountedRef {
 public:
  CountedRef() = default;
  // Takes over a reference the caller already holds (a new holder's first one).
  static CountedRef Adopt(T* holder) {
    CountedRef ref;
    ref.holder_ = holder;
    return ref;
  }
  // Adds a reference of its own to `holder`.
  static CountedRef Share(T* holder) {
    if (holder != nullptr) holder->AddRef();
    return Adopt(holder);
  }
  CountedRef(const CountedRef& other) : holder_(Share(other.holder_).release()) {}
  CountedRef(CountedRef&& other) noexcept : holder_(other.release()) {}
  CountedRef& operator=(CountedRef other) noexcept {
    std::swap(holder_, other.holder_);
    return *this;
  }
  ~CountedRef() {
    if (holder_ != nullptr) holder_->Release();
  }

  T* get() const { return holder_; }
  T* operator->() const { return holder_; }
  explicit operator bool() const { return holder_ != nullptr; }
  // Gives the reference up to the caller.
  T* release() { return std::exchange(holder_, nullptr); }

 private:
  T* holder_ = nullptr;
};

}  // namespace vexo
