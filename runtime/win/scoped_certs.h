// Holders for CryptoAPI certificate objects: certificate stores, certificate contexts and chains. They
// share the verbs of ScopedGeneric: get, reset, release, receive.
#pragma once

#include <windows.h>
#include <wincrypt.h>

#include "runtime/win/scoped_generic.h"

namespace vexo::win {

struct CertStoreTraits {
  static HCERTSTORE InvalidValue() { return nullptr; }
  static bool IsValid(HCERTSTORE store) { return store != nullptr; }
  static void Free(HCERTSTORE store) { ::CertCloseStore(store, 0); }
};

struct CertContextTraits {
  static PCCERT_CONTEXT InvalidValue() { return nullptr; }
  static bool IsValid(PCCERT_CONTEXT cert) { return cert != nullptr; }
  static void Free(PCCERT_CONTEXT cert) { ::CertFreeCertificateContext(cert); }
};

struct CertChainTraits {
  static PCCERT_CHAIN_CONTEXT InvalidValue() { return nullptr; }
  static bool IsValid(PCCERT_CHAIN_CONTEXT chain) { return chain != nullptr; }
  static void Free(PCCERT_CHAIN_CONTEXT chain) { ::CertFreeCertificateChain(chain); }
};

// Certificate stores opened with CertOpenStore, closed with CertCloseStore.
using ScopedCertStore = ScopedGeneric<HCERTSTORE, CertStoreTraits>;
// Certificate contexts (CertCreateCertificateContext, CertFindCertificateInStore), freed with
// CertFreeCertificateContext.
using ScopedCertContext = ScopedGeneric<PCCERT_CONTEXT, CertContextTraits>;
// Certificate chains built with CertGetCertificateChain, freed with CertFreeCertificateChain.
using ScopedCertChain = ScopedGeneric<PCCERT_CHAIN_CONTEXT, CertChainTraits>;

}  // namespace vexo::win
