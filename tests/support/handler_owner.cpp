#include "tests/support/handler_owner.h"

namespace vexo::test {

void HandlerOwner::End() {
  if (self == nullptr) return;
  self->Clear();
  self->Release();
  self = nullptr;
}

}  // namespace vexo::test
