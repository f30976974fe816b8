// Class records: the name hash and the record match that identity tests rely on.
#include "runtime/class_info.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(ClassNameHash, KnownNames) {
  const struct {
    const char* name;
    std::int32_t hash;
  } cases[] = {
      {"abc", 3015},
      {"CWString", 6943153},
      {"", 0},
      {nullptr, 0},
      {"rg_Pelor_ChengXu::rg_QiDongLei", 1391130831},
      // Bytes above 0x7F count as negative: the UTF-8 of "中" (E4 B8 AD).
      {"\xE4\xB8\xAD", 2147482505},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ClassNameHash(c.name), c.hash) << (c.name ? c.name : "(null)");
  }
}

TEST(ClassNameHash, IsUsableAtCompileTime) {
  static_assert(ClassNameHash("abc") == 3015);
  constexpr ClassNameRecord record = MakeClassNameRecord("CWString");
  static_assert(record.name_length == 8 && record.name_hash == 6943153);
}

TEST(MakeClassNameRecord, NullNameIsTheEmptyName) {
  ClassNameRecord record = MakeClassNameRecord(nullptr);
  ASSERT_NE(record.name, nullptr);
  EXPECT_STREQ(record.name, "");
  EXPECT_EQ(record.name_length, 0);
  EXPECT_EQ(record.name_hash, 0);
}

TEST(MatchClassRecord, ComparesHashLengthAndName) {
  // Names built at run time, in separate storage, as a record made elsewhere would be.
  const std::string dog = "sample::Dog";
  const std::string xaf = "xaf";
  const std::string xba = "xba";
  ASSERT_EQ(ClassNameHash(xaf.c_str()), ClassNameHash(xba.c_str()));  // same hash and length

  const struct {
    const char* a;
    const char* b;
    bool match;
  } cases[] = {
      {"sample::Dog", dog.c_str(), true},
      {"sample::Dog", "sample::Do", false},
      {"sample::Dog", "sample::Dogs", false},
      {xaf.c_str(), xba.c_str(), false},
      {"", "", true},
  };
  for (const auto& c : cases) {
    ClassNameRecord a = MakeClassNameRecord(c.a);
    ClassNameRecord b = MakeClassNameRecord(c.b);
    EXPECT_EQ(MatchClassRecord(a, b), c.match) << c.a << " / " << c.b;
    EXPECT_EQ(MatchClassRecord(b, a), c.match) << c.b << " / " << c.a;
  }
}

}  // namespace
