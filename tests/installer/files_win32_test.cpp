#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "installer/temp_folder.h"
#include "platform/files.h"

namespace platform {
namespace {

using installer_test::TempFolder;
using Names = std::vector<std::string>;

// A pilot who hid the launch list, or a tool that marked it, finds it so after a rewrite.
TEST(WholeFilesOnWindows, ReplaceKeepsTheFileHiddenAndSystem) {
  for (const DWORD attribute : {FILE_ATTRIBUTE_HIDDEN, FILE_ATTRIBUTE_SYSTEM}) {
    TempFolder folder;
    folder.Write("exe.xml", "old");
    const std::wstring file = folder.Wide("exe.xml");
    ASSERT_TRUE(SetFileAttributesW(file.c_str(), attribute));
    if ((GetFileAttributesW(file.c_str()) & attribute) == 0) {
      GTEST_SKIP() << "this file system keeps no attribute " << attribute;
    }

    EXPECT_TRUE(WriteFileWhole(file, "new", IfExists::Replace));
    EXPECT_EQ(folder.Read("exe.xml"), "new");
    EXPECT_NE(GetFileAttributesW(file.c_str()) & attribute, 0u) << "attribute " << attribute;
    EXPECT_EQ(folder.Names(), Names{"exe.xml"});
  }
}

}  // namespace
}  // namespace platform
