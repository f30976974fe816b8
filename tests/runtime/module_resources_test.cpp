// The application instance's resource operations against the resources of this test executable
// (module_resources_test.rc): raw data, texts, string-table entries, bitmaps, image lists, cursors, icons.
#include <gtest/gtest.h>

#include <cstddef>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "runtime/app_instance.h"
#include "runtime/pel_mem.h"
#include "runtime/w_string.h"
#include "runtime/win/scoped_handles.h"
#include "runtime/win/scoped_image_list.h"
#include "runtime/win/windows_api.h"
#include "tests/runtime/module_resources_test_ids.h"
#include "tests/runtime/picture_fixtures.h"

namespace {

using vexo::TheAppInstance;

const wchar_t kFixtureText[] = L"Vexo助手 3.0.1\r\n";

std::string FixtureBytes(const char* name) {
  std::ifstream in(std::string(VEXO_FIXTURE_DIR) + name, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::wstring Wide(const std::string& narrow) { return std::wstring(narrow.begin(), narrow.end()); }

std::string Bytes(const CPelMem& buffer) {
  const auto* data = static_cast<const char*>(buffer.GetData());
  return data ? std::string(data, buffer.GetLength()) : std::string();
}

CPelMem BufferHolding(const char* bytes) {
  CPelMem buffer;
  buffer.AssignBytes(bytes, static_cast<std::int32_t>(std::strlen(bytes)));
  return buffer;
}

// The table slot of a virtual member function, read from the member pointer in the Itanium C++ ABI form
// that g++ uses: a virtual function is stored as 1 + its byte offset in the table. -1 for a function that
// is not virtual.
template <class Member>
std::ptrdiff_t VirtualSlot(Member member) {
  struct {
    std::ptrdiff_t pointer;
    std::ptrdiff_t adjustment;
  } form;
  static_assert(sizeof(form) == sizeof(member), "pointer and this-adjustment");
  std::memcpy(&form, &member, sizeof(form));
  if ((form.pointer & 1) == 0) return -1;
  return (form.pointer - 1) / static_cast<std::ptrdiff_t>(sizeof(void*));
}

TEST(ResourceOperations, FillSlotsZeroToSevenWithSlotOneAnsweringNull) {
  const std::ptrdiff_t slots[] = {
      VirtualSlot(&CPelAppInstance::GetModule),         VirtualSlot(&CPelAppInstance::Reserved),
      VirtualSlot(&CPelAppInstance::LoadStringResource), VirtualSlot(&CPelAppInstance::LoadImageResource),
      VirtualSlot(&CPelAppInstance::LoadImageFile),     VirtualSlot(&CPelAppInstance::BitmapFromMemory),
      VirtualSlot(&CPelAppInstance::LoadTextResource),  VirtualSlot(&CPelAppInstance::LoadRawData),
  };
  for (std::ptrdiff_t i = 0; i < static_cast<std::ptrdiff_t>(std::size(slots)); ++i) EXPECT_EQ(slots[i], i);
  EXPECT_EQ(TheAppInstance().Reserved(), nullptr);
}

TEST(LoadRawData, CopiesExactlyTheResourceBytes) {
  const std::pair<int, const char*> resources[] = {
      {IDR_INDEXED1_PNG, "indexed1.png"}, {IDR_RGBA32_PNG, "rgba32.png"},  {IDR_RGB48_PNG, "rgb48.png"},
      {IDR_TEXT_BOM, "text_bom.bin"},     {IDR_TEXT_PLAIN, "text_plain.bin"},
  };
  for (const auto& [id, name] : resources) {
    SCOPED_TRACE(name);
    CPelMem buffer = BufferHolding("earlier content");
    ASSERT_TRUE(TheAppInstance().LoadRawData(id, buffer));
    const std::string expected = FixtureBytes(name);
    ASSERT_FALSE(expected.empty());
    EXPECT_EQ(Bytes(buffer), expected);
  }
}

TEST(LoadRawData, IdZeroAndEmptyResourceGiveTrueWithAnEmptyBuffer) {
  for (const int id : {0, IDR_EMPTY}) {
    SCOPED_TRACE(id);
    CPelMem buffer = BufferHolding("earlier content");
    EXPECT_TRUE(TheAppInstance().LoadRawData(id, buffer));
    EXPECT_EQ(buffer.GetLength(), 0);
  }
}

TEST(LoadRawData, MissingResourceGivesFalseWithAnEmptyBuffer) {
  // IDI_PRODUCT exists, but as an icon, not as raw data; the others name no resource at all.
  for (const int id : {ID_MISSING, IDI_PRODUCT, -1, 0x10000, 0x7FFFFFFF}) {
    SCOPED_TRACE(id);
    CPelMem buffer = BufferHolding("earlier content");
    EXPECT_FALSE(TheAppInstance().LoadRawData(id, buffer));
    EXPECT_EQ(buffer.GetLength(), 0);
  }
}

TEST(LoadTextResource, DropsOneLeadingByteOrderMarkAndNothingElse) {
  const std::pair<int, std::wstring> texts[] = {
      {IDR_TEXT_BOM, kFixtureText},
      {IDR_TEXT_PLAIN, kFixtureText},
      {IDR_TEXT_TWO_BOMS, std::wstring(1, wchar_t{0xFEFF}) + kFixtureText},
      {IDR_EMPTY, L""},
  };
  for (const auto& [id, expected] : texts) {
    SCOPED_TRACE(id);
    CWString text(L"earlier text");
    ASSERT_TRUE(TheAppInstance().LoadTextResource(id, text));
    EXPECT_EQ(std::wstring(text.GetText()), expected);
    EXPECT_EQ(text.GetLength(), static_cast<int>(expected.size()));
  }
}

TEST(LoadTextResource, MissingResourceGivesFalseWithAnEmptyText) {
  CWString text(L"earlier text");
  EXPECT_FALSE(TheAppInstance().LoadTextResource(ID_MISSING, text));
  EXPECT_TRUE(text.IsEmpty());
}

TEST(LoadStringResource, ReadsEntriesOfEveryLength) {
  std::wstring long_entry;
  for (int i = 0; i < 9000; ++i) long_entry += static_cast<wchar_t>(L'a' + i % 26);
  const std::pair<int, std::wstring> entries[] = {
      {IDS_PRODUCT_NAME, L"Vexo助手"},
      {IDS_ASCII, L"Install"},
      {IDS_LONG, long_entry},
  };
  for (const auto& [id, expected] : entries) {
    SCOPED_TRACE(id);
    CWString text;
    ASSERT_TRUE(TheAppInstance().LoadStringResource(id, text));
    EXPECT_EQ(text.GetLength(), static_cast<int>(expected.size()));
    EXPECT_TRUE(std::wstring(text.GetText()) == expected);
  }
}

TEST(LoadStringResource, MissingEntryGivesFalseWithAnEmptyText) {
  for (const int id : {ID_MISSING, 0, -5, 0x10000}) {
    SCOPED_TRACE(id);
    CWString text(L"earlier text");
    EXPECT_FALSE(TheAppInstance().LoadStringResource(id, text));
    EXPECT_TRUE(text.IsEmpty());
  }
}

struct DibFacts {
  bool is_dib_section = false;
  int width = 0;
  int height = 0;
  int bits_per_pixel = 0;
};

DibFacts Describe(HANDLE bitmap) {
  DibFacts facts;
  DIBSECTION section{};
  if (::GetObjectW(bitmap, sizeof(section), &section) != sizeof(section)) return facts;
  facts.is_dib_section = true;
  facts.width = section.dsBmih.biWidth;
  facts.height = section.dsBmih.biHeight;
  facts.bits_per_pixel = section.dsBmih.biBitCount;
  return facts;
}

TEST(LoadImageResource, BitmapsAreBottomUpDibSectionsOfTheirDepth) {
  const std::pair<int, int> pictures[] = {
      {IDR_INDEXED1_PNG, 1}, {IDR_INDEXED4_PNG, 4}, {IDR_INDEXED8_PNG, 8},
      {IDR_RGB24_PNG, 24},   {IDR_RGBA32_PNG, 32},  {IDR_RGB48_PNG, 32},
  };
  for (const auto& [id, bits] : pictures) {
    SCOPED_TRACE(id);
    vexo::win::ScopedBitmap bitmap(
        static_cast<HBITMAP>(TheAppInstance().LoadImageResource(vexo::kImageBitmap, id)));
    ASSERT_TRUE(bitmap);
    const DibFacts facts = Describe(bitmap.get());
    EXPECT_TRUE(facts.is_dib_section);
    EXPECT_EQ(facts.width, vexo::test::kPictureWidth);
    EXPECT_EQ(facts.height, vexo::test::kPictureHeight) << "positive height: bottom-up";
    EXPECT_EQ(facts.bits_per_pixel, bits);
  }
}

TEST(LoadImageResource, ImageListHoldsImagesAsTallAsTheBitmap) {
  vexo::win::ScopedImageList list(
      reinterpret_cast<HIMAGELIST>(TheAppInstance().LoadImageResource(vexo::kImageList, IDR_RGBA32_PNG)));
  ASSERT_TRUE(list);
  int width = 0;
  int height = 0;
  ASSERT_TRUE(::ImageList_GetIconSize(list.get(), &width, &height));
  EXPECT_EQ(height, vexo::test::kPictureHeight);
  EXPECT_EQ(width, vexo::test::kPictureHeight + 1) << "the height rounded up to an even width";
  EXPECT_EQ(::ImageList_GetImageCount(list.get()), vexo::test::kPictureWidth / (vexo::test::kPictureHeight + 1));
}

TEST(LoadImageResource, CursorAndIconComeFromTheirResources) {
  HANDLE cursor = TheAppInstance().LoadImageResource(vexo::kImageCursor, IDC_POINTER);
  HANDLE icon = TheAppInstance().LoadImageResource(vexo::kImageIcon, IDI_PRODUCT);
  ASSERT_NE(cursor, nullptr);
  ASSERT_NE(icon, nullptr);
  ICONINFO info{};
  ASSERT_TRUE(::GetIconInfo(static_cast<HICON>(cursor), &info));
  vexo::win::ScopedBitmap cursor_colour(info.hbmColor);
  vexo::win::ScopedBitmap cursor_mask(info.hbmMask);
  EXPECT_FALSE(info.fIcon);
  EXPECT_EQ(info.xHotspot, 3u);
  EXPECT_EQ(info.yHotspot, 5u);
  ASSERT_TRUE(::GetIconInfo(static_cast<HICON>(icon), &info));
  vexo::win::ScopedBitmap icon_colour(info.hbmColor);
  vexo::win::ScopedBitmap icon_mask(info.hbmMask);
  EXPECT_TRUE(info.fIcon);
}

TEST(LoadImageResource, MissingOrUndecodableResourceGivesNull) {
  const std::pair<int, int> cases[] = {
      {vexo::kImageBitmap, ID_MISSING},       {vexo::kImageList, ID_MISSING},
      {vexo::kImageCursor, ID_MISSING},       {vexo::kImageIcon, ID_MISSING},
      {vexo::kImageBitmap, IDR_NOT_A_PICTURE}, {vexo::kImageList, IDR_NOT_A_PICTURE},
      {vexo::kImageBitmap, IDR_EMPTY},         {vexo::kImageCursor, IDR_RGB24_PNG},
      {vexo::kImageBitmap, 0},                 {vexo::kImageIcon, 0x10000},
      {4, IDR_RGB24_PNG},                      {-1, IDR_RGB24_PNG},
  };
  for (const auto& [kind, id] : cases) {
    SCOPED_TRACE(testing::Message() << "kind " << kind << " id " << id);
    EXPECT_EQ(TheAppInstance().LoadImageResource(kind, id), nullptr);
  }
}

TEST(LoadImageFile, LoadsEveryKindFromFiles) {
  const CWString picture(Wide(std::string(VEXO_FIXTURE_DIR) + "rgb24.png").c_str());
  vexo::win::ScopedBitmap bitmap(static_cast<HBITMAP>(TheAppInstance().LoadImageFile(vexo::kImageBitmap, picture)));
  ASSERT_TRUE(bitmap);
  EXPECT_EQ(Describe(bitmap.get()).bits_per_pixel, 24);

  vexo::win::ScopedImageList list(
      reinterpret_cast<HIMAGELIST>(TheAppInstance().LoadImageFile(vexo::kImageList, picture)));
  ASSERT_TRUE(list);
  EXPECT_EQ(::ImageList_GetImageCount(list.get()), 2);

  const CWString cursor_file(Wide(std::string(VEXO_FIXTURE_DIR) + "pointer.cur").c_str());
  vexo::win::ScopedIcon cursor(static_cast<HICON>(TheAppInstance().LoadImageFile(vexo::kImageCursor, cursor_file)));
  ASSERT_TRUE(cursor);

  const CWString icon_file(Wide(VEXO_ICON_FILE).c_str());
  vexo::win::ScopedIcon icon(static_cast<HICON>(TheAppInstance().LoadImageFile(vexo::kImageIcon, icon_file)));
  ASSERT_TRUE(icon);
  ICONINFO info{};
  ASSERT_TRUE(::GetIconInfo(icon.get(), &info));
  vexo::win::ScopedBitmap colour(info.hbmColor);
  vexo::win::ScopedBitmap mask(info.hbmMask);
  BITMAP size{};
  ASSERT_NE(::GetObjectW(colour.get(), sizeof(size), &size), 0);
  EXPECT_EQ(size.bmWidth, 64);
}

TEST(LoadImageFile, EmptyPathOrMissingFileGivesNull) {
  const CWString missing(L"C:\\no such folder\\picture.png");
  for (const int kind : {vexo::kImageBitmap, vexo::kImageCursor, vexo::kImageIcon, vexo::kImageList}) {
    SCOPED_TRACE(kind);
    EXPECT_EQ(TheAppInstance().LoadImageFile(kind, CWString()), nullptr);
    EXPECT_EQ(TheAppInstance().LoadImageFile(kind, missing), nullptr);
  }
}

TEST(BitmapFromMemory, DecodesPicturesAndRefusesAnythingElse) {
  const std::string png = FixtureBytes("indexed4.png");
  vexo::win::ScopedBitmap bitmap(TheAppInstance().BitmapFromMemory(png.data(), static_cast<int>(png.size())));
  ASSERT_TRUE(bitmap);
  EXPECT_EQ(Describe(bitmap.get()).bits_per_pixel, 4);
  EXPECT_EQ(TheAppInstance().BitmapFromMemory(nullptr, 10), nullptr);
  EXPECT_EQ(TheAppInstance().BitmapFromMemory(png.data(), 0), nullptr);
  EXPECT_EQ(TheAppInstance().BitmapFromMemory(png.data(), 20), nullptr);
}

TEST(GetModule, IsTheProgramBeforeStartUpAndTheStoredHandleAfter) {
  EXPECT_EQ(TheAppInstance().GetModule(), ::GetModuleHandleW(nullptr));

  CPelAppInstance started;
  HMODULE other = ::GetModuleHandleW(L"kernel32.dll");
  ASSERT_NE(other, nullptr);
  started.SetStartupValues(other, 0, nullptr);
  EXPECT_EQ(started.GetModule(), other);
  CPelMem buffer;
  EXPECT_FALSE(started.LoadRawData(IDR_RGB24_PNG, buffer)) << "resources come from the stored module";
}

TEST(StartGdiplus, StartsOnceFromManyThreads) {
  std::vector<std::thread> threads;
  std::vector<int> started(8, 0);
  for (std::size_t i = 0; i < started.size(); ++i) {
    threads.emplace_back([&started, i] { started[i] = TheAppInstance().StartGdiplus() ? 1 : 0; });
  }
  for (std::thread& thread : threads) thread.join();
  for (const int result : started) EXPECT_EQ(result, 1);
}

}  // namespace
