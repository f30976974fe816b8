// Image wrappers: loading a picture from the program's resources into the shared holder, and what a
// failed load, SetHandle and Reset leave behind.
#include "xcgui/src/image.h"

#include <gtest/gtest.h>

#include "tests/ui/image_test_ids.h"
#include "tests/ui/ui_test_support.h"
#include "ui/element_wrappers.h"
#include "ui/image_wrappers.h"
#include "xcgui/src/context.h"

namespace {

using namespace rg_xc_gui;

class Images : public vexo::ui_test::TestWindow {
 protected:
  // The size of the library's image `handle`, or {0, 0} when the library knows no such image.
  static SIZE ImageSize(XCGUIDATA handle) {
    auto* image = xcgui::Context::Current()->Find<xcgui::Image>(vexo::ui::HandleCast<HIMAGE>(handle));
    return image != nullptr ? SIZE{image->width(), image->height()} : SIZE{0, 0};
  }
};

TEST_F(Images, AResourcePictureBecomesALibraryImageThatShapesAndElementsTake) {
  rg_XuanCaiTuPian banner;
  auto* early_clone = static_cast<rg_XuanCaiTuPian*>(banner.Clone());
  ASSERT_EQ(banner.LoadFromResource(IDR_BANNER_PNG), 1);
  ASSERT_NE(banner.GetHandle(), 0u);
  EXPECT_EQ(ImageSize(banner.GetHandle()).cx, 600);
  EXPECT_EQ(ImageSize(banner.GetHandle()).cy, 420);
  EXPECT_EQ(early_clone->GetHandle(), banner.GetHandle());

  rg_XingZhuangTuPian picture;
  picture.AttachHandle(XC_GetObjectByName(L"banner_pic"));
  EXPECT_TRUE(picture.SetImage(banner));
  xcann button;
  button.AttachHandle(XC_GetObjectByName(L"btn_face"));
  EXPECT_TRUE(button.AddBkImage(element_state_flag_stay, *early_clone));
  early_clone->Release();
}

TEST_F(Images, ASecondLoadReplacesTheHandleForEverySharerAndKeepsTheFirstImage) {
  rg_XuanCaiTuPian image;
  ASSERT_EQ(image.LoadFromResource(IDR_BANNER_PNG), 1);
  const XCGUIDATA first = image.GetHandle();
  rg_XuanCaiTuPian sharer;
  ASSERT_TRUE(sharer.CopyFrom(image));
  ASSERT_EQ(image.LoadFromResource(IDR_FACE_PNG), 1);
  EXPECT_NE(image.GetHandle(), first);
  EXPECT_EQ(sharer.GetHandle(), image.GetHandle());
  EXPECT_EQ(ImageSize(sharer.GetHandle()).cx, 120);
  EXPECT_EQ(ImageSize(first).cx, 600);
}

TEST_F(Images, AFailedLoadReturnsZeroAndKeepsTheHandle) {
  struct Case {
    const char* what;
    std::int32_t id;
  };
  const Case cases[] = {
      {"id 0 (an empty buffer)", 0},
      {"missing resource", ID_MISSING},
      {"bytes that are no picture", IDR_NOT_A_PICTURE},
      {"negative id", -1},
  };
  rg_XuanCaiTuPian fresh;
  rg_XuanCaiTuPian loaded;
  ASSERT_EQ(loaded.LoadFromResource(IDR_FACE_PNG), 1);
  const XCGUIDATA kept = loaded.GetHandle();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(fresh.LoadFromResource(c.id), 0);
    EXPECT_EQ(fresh.GetHandle(), 0u);
    EXPECT_EQ(loaded.LoadFromResource(c.id), 0);
    EXPECT_EQ(loaded.GetHandle(), kept);
  }
}

TEST_F(Images, SetHandleRefusesZeroAndResetIsTheWayBack) {
  rg_XuanCaiTuPian image;
  rg_XuanCaiHuiTu drawing;
  EXPECT_EQ(image.SetHandle(0x1234), 1);
  EXPECT_EQ(drawing.SetHandle(0x4321), 1);
  EXPECT_EQ(image.SetHandle(0), 0);
  EXPECT_EQ(drawing.SetHandle(0), 0);
  EXPECT_EQ(image.GetHandle(), 0x1234u);
  EXPECT_EQ(drawing.GetDraw(), vexo::ui::HandleCast<HDRAW>(0x4321));
  auto* clone = static_cast<rg_XuanCaiTuPian*>(image.Clone());
  image.Reset();
  EXPECT_EQ(image.GetHandle(), 0u);
  EXPECT_EQ(clone->GetHandle(), 0x1234u);
  clone->Release();
}

}  // namespace
