#include "platform/files.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "installer/temp_folder.h"

namespace platform {
namespace {

using installer_test::TempFolder;
using Names = std::vector<std::string>;

// Bytes that a text mode would change: CR LF, a lone CR, a line feed, NUL and Ctrl-Z.
const std::string kBytes("a\r\nb\rc\nd\0e\x1a\xff", 12);

TEST(WholeFiles, ReadAndWriteByteForByte) {
  TempFolder folder;
  EXPECT_TRUE(WriteFileWhole(folder.Wide("file"), kBytes, IfExists::Keep));
  EXPECT_EQ(folder.Read("file"), kBytes);
  EXPECT_EQ(ReadFileBytes(folder.Wide("file")), kBytes);
  EXPECT_EQ(ReadFileBytes(folder.Wide("missing")), std::nullopt);
  EXPECT_TRUE(PathExists(folder.Wide("file")));
  EXPECT_TRUE(PathExists(folder.Wide()));
  EXPECT_FALSE(PathExists(folder.Wide("missing")));
}

TEST(WholeFiles, ReplaceSwapsTheContentAndLeavesNothingElse) {
  TempFolder folder;
  folder.Write("file", "old");
  EXPECT_TRUE(WriteFileWhole(folder.Wide("file"), "new", IfExists::Replace));
  EXPECT_EQ(folder.Read("file"), "new");
  EXPECT_EQ(folder.Names(), Names{"file"});
}

TEST(WholeFiles, KeepNeverTouchesAnExistingFile) {
  TempFolder folder;
  folder.Write("file", "old");
  EXPECT_FALSE(WriteFileWhole(folder.Wide("file"), "new", IfExists::Keep));
  EXPECT_EQ(folder.Read("file"), "old");
  EXPECT_EQ(folder.Names(), Names{"file"});
}

TEST(WholeFiles, AFolderTooDeepForTheSystemsTemporaryNamesStillTakesTheFile) {
  TempFolder folder;
  // The deepest folder a plain Windows path names, beyond what GetTempFileNameW accepts.
  constexpr std::size_t kDeepFolder = 247;
  const std::string deep(kDeepFolder - folder.Wide().size() - 1, 'd');
  folder.MakeFolder(deep);
  const std::wstring file = folder.Wide(deep + "/exe.xml");

  EXPECT_TRUE(WriteFileWhole(file, "old", IfExists::Keep));
  EXPECT_TRUE(WriteFileWhole(file, kBytes, IfExists::Replace));
  EXPECT_EQ(folder.Read(deep + "/exe.xml"), kBytes);
  EXPECT_EQ(folder.Names(deep), Names{"exe.xml"});
}

TEST(WholeFiles, FailedWriteLeavesWhatWasThere) {
  TempFolder folder;
  folder.MakeFolder("taken/inner");
  EXPECT_FALSE(WriteFileWhole(folder.Wide("taken"), "new", IfExists::Replace));
  EXPECT_EQ(folder.Names(), Names{"taken"});
  EXPECT_EQ(folder.Names("taken"), Names{"inner"});

  EXPECT_FALSE(WriteFileWhole(folder.Wide("missing/file"), "new", IfExists::Replace));
  EXPECT_EQ(folder.Names(), Names{"taken"});
}

}  // namespace
}  // namespace platform
