// Holders for CNG (bcrypt) objects: algorithm providers, hash objects and keys. They share the verbs of
// ScopedGeneric: get, reset, release, receive.
#pragma once

#include <windows.h>
#include <bcrypt.h>

#include "runtime/win/scoped_generic.h"

namespace vexo::win {

// BCryptCloseAlgorithmProvider with no flags, for the provider holder.
inline NTSTATUS CloseAlgorithmProvider(BCRYPT_ALG_HANDLE provider) {
  return ::BCryptCloseAlgorithmProvider(provider, 0);
}

// Algorithm providers opened with BCryptOpenAlgorithmProvider.
using ScopedAlgorithmProvider = ScopedNullHandle<BCRYPT_ALG_HANDLE, &CloseAlgorithmProvider>;
// Hash objects made with BCryptCreateHash, destroyed with BCryptDestroyHash.
using ScopedHashObject = ScopedNullHandle<BCRYPT_HASH_HANDLE, &::BCryptDestroyHash>;
// Keys made with BCryptImportKeyPair or BCryptGenerateKeyPair, destroyed with BCryptDestroyKey.
using ScopedCngKey = ScopedNullHandle<BCRYPT_KEY_HANDLE, &::BCryptDestroyKey>;

}  // namespace vexo::win
