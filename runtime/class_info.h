// Class records: the registered name of a class with its hash, and (for value classes) its factory.
#pragma once

#include <cstdint>

class CPelObject;

// Name part of a class record. The name is UTF-8, not owned (a string literal); it is the whole record of
// the counted holders, which have no factory.
struct ClassNameRecord {
  const char* name;
  std::int32_t name_length;
  std::int32_t name_hash;
};

// Full class record of a value class: its factory, then its name part.
struct ClassInfo {
  // Creates a new default instance from the memory manager; ends the process (exit code -1) when no
  // memory is left. The caller owns the object and ends it with Release.
  CPelObject* (*factory)();
  ClassNameRecord name_record;
};

// Hash of a registered class name: h = h * 5 + byte (bytes read as signed, 32-bit wrapping), then
// (h | 1) & 0x7FFFFFFF; a null or empty name hashes to 0.
constexpr std::int32_t ClassNameHash(const char* name) {
  if (name == nullptr || name[0] == '\0') return 0;
  std::uint32_t h = 0;
  for (const char* p = name; *p != '\0'; ++p) {
    h = h * 5u + static_cast<std::uint32_t>(static_cast<std::int32_t>(static_cast<signed char>(*p)));
  }
  return static_cast<std::int32_t>((h | 1u) & 0x7FFFFFFFu);
}

// The name record of `name` (a null name is taken as the empty name).
constexpr ClassNameRecord MakeClassNameRecord(const char* name) {
  const char* text = name != nullptr ? name : "";
  std::int32_t length = 0;
  while (text[length] != '\0') ++length;
  return ClassNameRecord{text, length, ClassNameHash(text)};
}

// The full record of a class with the given factory and registered name.
constexpr ClassInfo MakeClassInfo(CPelObject* (*factory)(), const char* name) {
  return ClassInfo{factory, MakeClassNameRecord(name)};
}

// Whether two records stand for the same class: the same record, or equal hash, length and name bytes.
// So a record built elsewhere from the same name matches.
bool MatchClassRecord(const ClassNameRecord& a, const ClassNameRecord& b);
// Same test on the name parts of two full records.
inline bool MatchClassRecord(const ClassInfo& a, const ClassInfo& b) {
  return MatchClassRecord(a.name_record, b.name_record);
}

static_assert(sizeof(ClassNameRecord) == sizeof(void*) + 8 && sizeof(ClassInfo) == 2 * sizeof(void*) + 8,
              "factory, name, name length, name hash");
