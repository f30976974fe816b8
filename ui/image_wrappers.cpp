#include "ui/image_wrappers.h"

#include "runtime/app_instance.h"
#include "runtime/pel_mem.h"

namespace rg_xc_gui {

std::int32_t rg_XuanCaiTuPian::LoadFromResource(std::int32_t id) {
  CPelMem bytes;
  if (!vexo::TheAppInstance().LoadRawData(id, bytes)) return 0;
  const std::int32_t size = bytes.GetLength();
  HIMAGE image = XImage_LoadMemory(size > 0 ? bytes.GetData() : nullptr, size);
  return SetHandle(vexo::ui::HandleData(image));
}

std::int32_t rg_XuanCaiTuPian::DecodeResourceAhead(std::int32_t id) {
  CPelMem bytes;
  if (!vexo::TheAppInstance().LoadRawData(id, bytes)) return 0;
  const std::int32_t size = bytes.GetLength();
  return XImage_DecodeAhead(size > 0 ? bytes.GetData() : nullptr, size) ? 1 : 0;
}

}  // namespace rg_xc_gui
