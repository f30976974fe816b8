#include "tests/runtime/sample_classes.h"

namespace sample {

Counters& TheCounters() {
  static Counters counters;
  return counters;
}

}  // namespace sample
