// Holder of one COM interface pointer (AddRef/Release), with the holders' verbs get, reset, release.
#pragma once

#include <objbase.h>

#include <utility>

namespace vexo::win {

template <typename T>
class ComPtr {
 public:
  ComPtr() = default;
  // Takes over a reference the caller already owns (no AddRef).
  explicit ComPtr(T* owned) : ptr_(owned) {}
  ~ComPtr() { reset(); }

  ComPtr(const ComPtr& other) : ptr_(other.ptr_) {
    if (ptr_) ptr_->AddRef();
  }
  ComPtr& operator=(const ComPtr& other) {
    if (other.ptr_) other.ptr_->AddRef();
    reset(other.ptr_);
    return *this;
  }
  ComPtr(ComPtr&& other) noexcept : ptr_(other.release()) {}
  ComPtr& operator=(ComPtr&& other) noexcept {
    reset(other.release());
    return *this;
  }

  T* get() const { return ptr_; }
  T* operator->() const { return ptr_; }
  explicit operator bool() const { return ptr_ != nullptr; }

  // Releases the held reference and takes over `owned` (no AddRef).
  void reset(T* owned = nullptr) {
    T* old = std::exchange(ptr_, owned);
    if (old) old->Release();
  }
  // Gives the reference to the caller, who must Release it.
  T* release() { return std::exchange(ptr_, nullptr); }
  // Releases the held reference and returns the slot for CoCreateInstance/QueryInterface to fill.
  T** receive() {
    reset();
    return &ptr_;
  }
  // QueryInterface for another interface; empty on failure.
  template <typename U>
  ComPtr<U> As() const {
    ComPtr<U> result;
    if (ptr_) ptr_->QueryInterface(__uuidof(U), reinterpret_cast<void**>(result.receive()));
    return result;
  }

 private:
  T* ptr_ = nullptr;
};

// COM initialised on this thread for the holder's lifetime; uninitialised only if the call succeeded.
class ScopedComInit {
 public:
  explicit ScopedComInit(DWORD model = COINIT_APARTMENTTHREADED)
      : succeeded_(SUCCEEDED(::CoInitializeEx(nullptr, model))) {}
  ~ScopedComInit() {
    if (succeeded_) ::CoUninitialize();
  }
  ScopedComInit(const ScopedComInit&) = delete;
  ScopedComInit& operator=(const ScopedComInit&) = delete;

  bool succeeded() const { return succeeded_; }

 private:
  bool succeeded_;
};

}  // namespace vexo::win
