#include <gtest/gtest.h>

#include <string>

#include "installer/LaunchList.h"
#include "installer/Registration.h"
#include "installer/temp_folder.h"

namespace installer {
namespace {

using installer_test::Crlf;

std::string Rewrite(std::string_view fileBytes) {
  return LaunchListBytes(ParseLaunchList(fileBytes));
}

TEST(LaunchListScanner, RewriteKeepsKnownLinesAsTheyWereAndDropsTheRest) {
  const std::string file =
      Crlf(
          "<?xml version=\"1.0\" encoding=\"Windows-1252\"?>\n"
          "<SimBase.Document Type=\"Launch\" version=\"1,0\">\n"
          "  <Launch.ManualLoad>False</Launch.ManualLoad>\n"
          "  <!-- added by hand -->\n"
          "  <Descr>Launch</Descr>\n"
          "  <Filename>exe.xml</Filename>\n") +
      // A line that was saved with a bare line feed, and one with a stray CR before its end.
      "  <Disabled>False</Disabled>\n" +
      Crlf(
          "\n"
          "  <Launch.Addon>\n"
          "    <Name>Weather \xe9t\xe9</Name>\n"
          "    <Disabled>True</Disabled>\n"
          "    <ManualLoad>False</ManualLoad>\n"
          "    <Path>C:\\Weather\\wx.exe</Path>\r\n"
          "  </Launch.Addon>\n"
          "</SimBase.Document>\n");

  EXPECT_EQ(Rewrite(file), Crlf("<?xml version=\"1.0\" encoding=\"Windows-1252\"?>\n"
                                "<SimBase.Document Type=\"Launch\" version=\"1,0\">\n"
                                "  <Descr>Launch</Descr>\n"
                                "  <Filename>exe.xml</Filename>\n"
                                "  <Disabled>False</Disabled>\n"
                                "  <Launch.ManualLoad>False</Launch.ManualLoad>\n"
                                "\n"
                                "\t\t<Launch.Addon>\n"
                                "    <Name>Weather \xe9t\xe9</Name>\n"
                                "    <Disabled>True</Disabled>\n"
                                "    <Path>C:\\Weather\\wx.exe</Path>\r\n"
                                "\t\t</Launch.Addon>\n"
                                "\n"
                                "</SimBase.Document>\n"));
}

TEST(LaunchListScanner, EmptyFileIsAnEmptyList) {
  EXPECT_EQ(ParseLaunchList(""), LaunchList{});
  EXPECT_EQ(Rewrite(""), Crlf("\n</SimBase.Document>\n"));
}

TEST(LaunchListScanner, EntryElementNeverClosedTakesTheRestOfTheFile) {
  const std::string rest =
      "\t\t\t<Path>C:\\A\\a.exe</Path>\n"
      "\t\t</Launch.Addon>\n"
      "\t\t<Launch.Addon>\n"
      "\t\t\t<Path>C:\\B\\b.exe</Path>\n"
      "\t\t</Launch.Addon>\n"
      "</SimBase.Document>\n";
  const LaunchList list = ParseLaunchList(Crlf("\t\t<Launch.Addon>\n\t\t\t<Name>Broken\n" + rest));

  ASSERT_EQ(list.entries.size(), 1u);
  EXPECT_EQ(list.entries[0].name, "\t\t\t<Name>Broken\n" + rest);
  EXPECT_EQ(list.entries[0].path, "");
  EXPECT_EQ(LaunchListBytes(list), Crlf("\n\t\t<Launch.Addon>\n\t\t\t<Name>Broken\n" + rest +
                                        "\t\t</Launch.Addon>\n\n</SimBase.Document>\n"));
}

TEST(LaunchListScanner, OpenHeaderElementCollectsDeclarationAndLastLineOfEntry) {
  const LaunchList list =
      ParseLaunchList(Crlf("\t<Descr>Launch\n"
                           "<?xml version=\"1.0\"?>\n"
                           "\t\t<Launch.Addon>\n"
                           "\t\t\t<Name>A</Name>\n"
                           "\t\t</Launch.Addon>\n"
                           "</Descr>\n"
                           "\t<Filename>exe.xml</Filename>\n"));

  LaunchList expected;
  expected.xmlDeclaration = "<?xml version=\"1.0\"?>\n";
  expected.description =
      "\t<Descr>Launch\n<?xml version=\"1.0\"?>\n\t\t</Launch.Addon>\n</Descr>\n";
  expected.fileName = "\t<Filename>exe.xml</Filename>\n";
  expected.entries.push_back(
      {.name = "\t\t\t<Name>A</Name>\n", .disabled = "", .path = "", .commandLine = ""});
  EXPECT_EQ(list, expected);
}

TEST(LaunchListScanner, EntryAtTheEndOfTheFileIsKeptAndItsLastLineSeenByTheHeader) {
  const LaunchList list =
      ParseLaunchList(Crlf("\t\t<Launch.Addon>\n\t\t\t<Disabled>True</Disabled>\n"));

  const std::string disabled = "\t\t\t<Disabled>True</Disabled>\n";
  ASSERT_EQ(list.entries.size(), 1u);
  EXPECT_EQ(list.entries[0].disabled, disabled);
  EXPECT_EQ(list.disabled, disabled);
}

TEST(LaunchListScanner, LinesAreTakenAtMost1023CharactersAtATime) {
  const std::string filler(1000, 'x');
  // 1023 characters with the line feed: one line.
  const std::string whole = "<Descr>" + filler + std::string(1023 - 1016, 'y') + "</Descr>\n";
  ASSERT_EQ(whole.size(), 1023u);
  EXPECT_EQ(ParseLaunchList(Crlf(whole)).description, whole);

  // The opening tag cut by the boundary is not seen; a tag wholly in the second part is.
  const std::string cut = std::string(1017, ' ') + "<Descr>A</Descr>\n";
  const std::string pushed = std::string(1023, ' ') + "<Filename>f</Filename>\n";
  const LaunchList list = ParseLaunchList(Crlf(cut + pushed));
  EXPECT_EQ(list.description, "");
  EXPECT_EQ(list.fileName, "<Filename>f</Filename>\n");
}

TEST(LaunchListScanner, ExtractTagTextTakesTheTextAfterTheFirstElementTag) {
  EXPECT_EQ(ExtractTagText("\t\t\t<Path>C:\\A\\a.exe</Path>\n"), "C:\\A\\a.exe");
  EXPECT_EQ(ExtractTagText("<Path></Path>"), "");
  EXPECT_EQ(ExtractTagText("\t<Path>C:\\A\\a.exe\n"), "\t<Path>C:\\A\\a.exe\n");
  EXPECT_EQ(ExtractTagText("no tag at all\n"), "no tag at all\n");
}

}  // namespace
}  // namespace installer
