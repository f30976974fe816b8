// CPelException: the exception runtime code throws, with an integer code and a description.
#pragma once

#include "runtime/w_string.h"

// Thrown by value, caught by const reference. The host's start guard reports one that escapes the start
// method and ends the process.
class CPelException {
 public:
  // Keeps a copy of `description` (null: empty).
  CPelException(int code, const wchar_t* description) : code_(code), description_(description) {}

  int GetCode() const { return code_; }
  // The description; owned by the exception, never null.
  const wchar_t* GetDescription() const { return description_.GetText(); }

 private:
  int code_;
  CWString description_;
};
