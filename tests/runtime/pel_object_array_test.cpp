// The object array: ownership of its members, copies made of clones, member-wise equality and the dump.
#include "runtime/pel_object_array.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <sstream>
#include <string>

#include "runtime/boxed_values.h"
#include "runtime/class_family.h"
#include "runtime/text_array.h"

namespace {

using rg_Pelor_JiBen::rg_WenBenShuZuLei;
using rg_Pelor_JiBen::rg_ZhengShuLei;

// Counts the destruction of its instances, so tests can see which members an array released.
class Tracked : public CPelObject {
  PEL_OBJECT_CLASS(Tracked, CPelObject, "object_array_test::Tracked")

  Tracked() = default;
  Tracked(const Tracked& other) : CPelObject(other), tag_(other.tag_) {}
  Tracked& operator=(const Tracked&) = default;
  ~Tracked() override { ++destroyed; }

  static Tracked* Make(int tag) {
    auto* object = static_cast<Tracked*>(StaticClassInfo().factory());
    object->tag_ = tag;
    return object;
  }
  int tag() const { return tag_; }

  static int destroyed;

 protected:
  bool HasEqualFields(const Tracked& other) const { return CPelObject::HasEqualFields(other) && tag_ == other.tag_; }

 private:
  int tag_ = 0;
};
int Tracked::destroyed = 0;

std::wstring Hex(const void* address) {
  std::wostringstream text;
  text << std::hex << std::uppercase << reinterpret_cast<std::uintptr_t>(address);
  return text.str();
}

TEST(ObjectArray, OwnsItsMembersAndReleasesThemWhenCleared) {
  Tracked::destroyed = 0;
  {
    CPelObjectArray array;
    EXPECT_TRUE(array.Add(Tracked::Make(1)));
    EXPECT_TRUE(array.Add(Tracked::Make(2)));
    EXPECT_FALSE(array.Add(nullptr));
    EXPECT_FALSE(array.Add(&array));
    EXPECT_EQ(array.GetCount(), 2);
    EXPECT_EQ(static_cast<Tracked*>(array.GetAt(1))->tag(), 2);
    EXPECT_EQ(array.GetAt(2), nullptr);

    array.Reset();
    EXPECT_EQ(array.GetCount(), 0);
    EXPECT_EQ(Tracked::destroyed, 2);
    array.Add(Tracked::Make(3));
  }
  EXPECT_EQ(Tracked::destroyed, 3) << "destroying the array releases what it holds";
}

TEST(ObjectArray, CopyClonesEveryMemberAndReleasingTheCopyReleasesOnlyTheClones) {
  Tracked::destroyed = 0;
  CPelObjectArray original;
  original.Add(Tracked::Make(1));
  original.Add(Tracked::Make(2));

  auto* copy = static_cast<CPelObjectArray*>(original.Clone());
  ASSERT_EQ(copy->GetCount(), 2);
  EXPECT_NE(copy->GetAt(0), original.GetAt(0));
  EXPECT_TRUE(copy->IsEqual(original));
  copy->Release();
  EXPECT_EQ(Tracked::destroyed, 2);
  EXPECT_EQ(static_cast<Tracked*>(original.GetAt(1))->tag(), 2) << "the originals live on";

  ASSERT_TRUE(original.CopyFrom(original));
  EXPECT_EQ(original.GetCount(), 2);
  EXPECT_EQ(Tracked::destroyed, 2) << "copying onto itself releases nothing";
}

TEST(ObjectArray, EqualityComparesMembersByIndex) {
  CPelObjectArray a;
  a.Add(Tracked::Make(1));
  a.Add(new rg_ZhengShuLei(5));
  CPelObjectArray b;
  b.Add(Tracked::Make(1));
  b.Add(new rg_ZhengShuLei(5));
  EXPECT_TRUE(a.IsEqual(b));
  static_cast<rg_ZhengShuLei*>(b.GetAt(1))->SetValue(6);
  EXPECT_FALSE(a.IsEqual(b));
  CPelObjectArray shorter;
  shorter.Add(Tracked::Make(1));
  EXPECT_FALSE(a.IsEqual(shorter));
}

TEST(ObjectArray, DumpDescribesEachMemberAndEmbedsItsOwnDump) {
  CPelObjectArray array;
  auto* number = new rg_ZhengShuLei(-56);
  auto* texts = new rg_WenBenShuZuLei();
  texts->Add(L"a\tb");
  texts->Add(L"c");
  texts->SetNullObject(true);
  array.Add(number);
  array.Add(texts);
  CWString output;
  array.DumpTo(output, 1);
  const std::wstring expected =
      L"<数组> 总共 2 个成员,输出了 1 个,还有 1 个未被输出."
      L"\r\n1. 对象输出类名: \"rg_Pelor_JiBen::rg_ZhengShuLei\", 地址: 0x" + Hex(number) + L", 内容:\r\n-56";
  EXPECT_EQ(output.GetText(), expected);

  CWString all;
  array.DumpTo(all, -1);
  const std::wstring second = L"\r\n2. 对象输出类名: \"rg_Pelor_JiBen::rg_WenBenShuZuLei\", 地址: 0x" + Hex(texts) +
                              L", 为空对象, 内容:\r\n<数组> 总共 2 个成员:\r\n1. \"a\\tb\"\r\n2. \"c\"";
  const std::wstring text = all.GetText();
  EXPECT_EQ(text.substr(text.size() - second.size()), second);
}

}  // namespace
