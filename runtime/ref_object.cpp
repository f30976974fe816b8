#include "runtime/ref_object.h"

CRefObject::~CRefObject() = default;

int CRefObject::Release() {
  if (ref_count_.fetch_sub(1, std::memory_order_acq_rel) - 1 > 0) return 0;
  OnFinalRelease();
  delete this;
  return 1;
}

void CRefObject::OnFinalRelease() {}
