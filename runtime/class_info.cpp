#include "runtime/class_info.h"

#include <cstring>

bool MatchClassRecord(const ClassNameRecord& a, const ClassNameRecord& b) {
  if (&a == &b) return true;
  if (a.name_hash != b.name_hash || a.name_length != b.name_length) return false;
  return a.name_length <= 0 || std::strncmp(a.name, b.name, static_cast<std::size_t>(a.name_length)) == 0;
}
