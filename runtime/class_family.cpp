#include "runtime/class_family.h"

namespace vexo {

const CPelObject* ObjectOfKind(const CPelObject& object, const ClassInfo& record) {
  return object.IsKindOf(record) ? &object : nullptr;
}

const CPelObject* ObjectOfClass(const CPelObject& object, const ClassInfo& record) {
  return MatchClassRecord(object.GetClassInfo(), record) ? &object : nullptr;
}

}  // namespace vexo
