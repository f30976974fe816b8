// CPelException: the exception runtime code throws, with an integer code and a description.
#pragma once

#include <string>
#include <utility>

// Thrown by value, caught by const reference. The host's start guard reports one that escapes the start
// method and ends the process.
class CPelException {
 public:
  CPelException(int code, std::wstring description) : code_(code), description_(std::move(description)) {}

  int GetCode() const { return code_; }
  // The description; owned by the exception, never null.
  const wchar_t* GetDescription() const { return description_.c_str(); }

 private:
  int code_;
  std::wstring description_;
};
