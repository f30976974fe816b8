// Writing a byte buffer into the folders the installer makes: a folder tree first, then the file; a
// missing folder is not made by the write.
#include <gtest/gtest.h>

#include <string>

#include "runtime/pel_mem.h"
#include "sys/folder_tree.h"
#include "tests/sys/sys_test_support.h"

namespace {

CPelMem BufferHolding(const std::string& bytes) {
  CPelMem buffer;
  buffer.AssignBytes(bytes.data(), static_cast<std::int32_t>(bytes.size()));
  return buffer;
}

TEST(WriteToFile, LandsInAFolderTreeJustCreated) {
  vexo::test::ScratchFolder scratch;
  const std::wstring folder = scratch.path() + L"VexoInstallUI\\临时 文件\\";
  ASSERT_EQ(vexo::sys::CreateFolderTree(folder.c_str()), 1);
  const std::string bytes("PK\x03\x04\0\0binary\r\n\x1A", 15);
  EXPECT_TRUE(BufferHolding(bytes).WriteToFile((folder + L"resource.zip").c_str()));
  EXPECT_EQ(vexo::test::ReadWholeFile(folder + L"resource.zip"), bytes);

  EXPECT_TRUE(BufferHolding("shorter").WriteToFile((folder + L"resource.zip").c_str()));
  EXPECT_EQ(vexo::test::ReadWholeFile(folder + L"resource.zip"), "shorter");
}

TEST(WriteToFile, MissingFolderGivesFalseAndIsNotCreated) {
  vexo::test::ScratchFolder scratch;
  const std::wstring missing = scratch.path() + L"VexoProxy_temp";
  EXPECT_FALSE(BufferHolding("data").WriteToFile((missing + L"\\installpack.zip").c_str()));
  EXPECT_FALSE(vexo::test::IsFolder(missing));
  EXPECT_FALSE(vexo::test::IsFile(missing + L"\\installpack.zip"));
}

}  // namespace
