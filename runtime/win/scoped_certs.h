// Holders for CryptoAPI certificate objects: certificate stores, certificate contexts and chains. They
// share the verbs of ScopedGeneric: get, reset, release, receive.
#pragma once

#include <windows.h>
#include <wincrypt.h>

#include "runtime/win/scoped_generic.h"

namespace vexo::win {

// CertCloseStore with no flags, for the store holder.
inline BOOL CloseCertStore(HCERTSTORE store) { return ::CertCloseStore(store, 0); }

// Certificate stores opened with CertOpenStore, closed with CertCloseStore.
using ScopedCertStore = ScopedNullHandle<HCERTSTORE, &CloseCertStore>;
// Certificate contexts (CertCreateCertificateContext, CertFindCertificateInStore), freed with
// CertFreeCertificateContext.
using ScopedCertContext = ScopedNullHandle<PCCERT_CONTEXT, &::CertFreeCertificateContext>;
// Certificate chains built with CertGetCertificateChain, freed with CertFreeCertificateChain.
using ScopedCertChain = ScopedNullHandle<PCCERT_CHAIN_CONTEXT, &::CertFreeCertificateChain>;

}  // namespace vexo::win
