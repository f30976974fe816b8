// Static construction order: the application instance and its memory manager exist before the program's
// own statics, prioritised or not.
#include <gtest/gtest.h>

#include "runtime/app_instance.h"
#include "runtime/init_order.h"

namespace {

// Looks at the application instance from a static constructor. Before its constructor has run, the
// instance is all zero bytes, so its display scale reads 0 instead of 1.0.
struct EarlyObserver {
  EarlyObserver() {
    instance_ready = vexo::TheAppInstance().GetDisplayScale() == 1.0;
    if (instance_ready) {
      void* block = vexo::TheMemManager().Alloc(16);
      got_pool_block = vexo::TheMemManager().IsPoolPointer(block);
      vexo::TheMemManager().Free(block);
    }
  }
  bool instance_ready = false;
  bool got_pool_block = false;
};

VEXO_INIT_ORDER(kProgramStatics) EarlyObserver program_static;
EarlyObserver unprioritised_static;

TEST(InitOrder, ApplicationInstanceIsConstructedBeforeTheProgramsStatics) {
  for (const EarlyObserver* observer : {&program_static, &unprioritised_static}) {
    EXPECT_TRUE(observer->instance_ready);
    EXPECT_TRUE(observer->got_pool_block);
  }
}

}  // namespace
