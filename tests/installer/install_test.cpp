#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <string>
#include <vector>

#include "installer/Installer.h"
#include "installer/temp_folder.h"
#include "platform/files.h"
#include "platform/folders.h"

namespace installer {
namespace {

using installer_test::Crlf;
using installer_test::TempFolder;
using Names = std::vector<std::string>;

constexpr std::wstring_view kOwnPath = L"C:\\Program Files\\Korvane\\KorPanels.exe";

const std::string kHeader =
    "<?xml version=\"1.0\" encoding=\"Windows-1252\"?>\n"
    "<SimBase.Document Type=\"Launch\" version=\"1,0\">\n"
    "\t<Descr>Launch</Descr>\n"
    "\t<Filename>exe.xml</Filename>\n"
    "\t<Disabled>False</Disabled>\n"
    "\t<Launch.ManualLoad>False</Launch.ManualLoad>\n"
    "\n";
const std::string kEnd = "</SimBase.Document>\n";

std::string Addon(std::string_view name, std::string_view disabled, std::string_view path,
                  std::string_view commandLine) {
  return "\t\t<Launch.Addon>\n\t\t\t<Name>" + std::string(name) + "</Name>\n\t\t\t<Disabled>" +
         std::string(disabled) + "</Disabled>\n\t\t\t<Path>" + std::string(path) +
         "</Path>\n\t\t\t<CommandLine>" + std::string(commandLine) +
         "</CommandLine>\n\t\t</Launch.Addon>\n\n";
}

std::string OwnAddon(std::string_view path = "C:\\Program Files\\Korvane\\KorPanels.exe") {
  return Addon("Korvane Panel(s) Plugin for FSX", "False", path, "-run");
}

const std::string kClientConfig = Crlf(
    "[SimConnect]\n"
    "level=off\n"
    "console=0\n"
    ";OutputDebugString=0\n"
    ";file=c:\\SimConnect%03u.log\n"
    ";file_next_index=1\n"
    ";RedirectStdOutToConsole=0\n");

const std::string kServiceConfig = Crlf(
    "<?xml version=\"1.0\" encoding=\"Windows-1252\"?>\n"
    "<SimBase.Document Type=\"SimConnect\" version=\"1,0\">\n"
    "\t<Descr>SimConnect</Descr>\n"
    "\t<Filename>SimConnect.xml</Filename>\n"
    "\t<Disabled>False</Disabled>\n"
    "\t<SimConnect.Comm>\n"
    "\t\t<Disabled>False</Disabled>\n"
    "\t\t<Protocol>Auto</Protocol>\n"
    "\t\t<Scope>local</Scope>\n"
    "\t\t<Address></Address>\n"
    "\t\t<MaxClients>64</MaxClients>\n"
    "\t\t<Port></Port>\n"
    "\t\t<MaxRecvSize>4096</MaxRecvSize>\n"
    "\t\t<DisableNagle>False</DisableNagle>\n"
    "\t</SimConnect.Comm>\n"
    "</SimBase.Document>\n");

class Installing : public ::testing::Test {
 protected:
  Installing() {
    folder.MakeFolder("fsx");
    folder.MakeFolder("docs/Flight Simulator X Files");
  }

  bool Install(std::wstring_view ownPath = kOwnPath) {
    return InstallPlugin({folder.Wide("fsx"), folder.Wide("docs"), std::wstring(ownPath)});
  }
  bool Uninstall(std::wstring_view ownPath = kOwnPath) {
    return UninstallPlugin(folder.Wide("fsx"), ownPath);
  }
  void GivenLaunchList(std::string_view text) { folder.Write("fsx/exe.xml", Crlf(text)); }
  std::optional<std::string> LaunchList() const { return folder.Read("fsx/exe.xml"); }

  TempFolder folder;
};

TEST_F(Installing, CreatesLaunchListAndConfigurationFilesWhenMissing) {
  EXPECT_TRUE(Install());

  EXPECT_EQ(LaunchList(), Crlf(kHeader + OwnAddon() + kEnd));
  EXPECT_EQ(folder.Read("fsx/SimConnect.xml"), kServiceConfig);
  EXPECT_EQ(folder.Read("docs/Flight Simulator X Files/SimConnect.ini"), kClientConfig);
  EXPECT_EQ(folder.Names("fsx"), (Names{"SimConnect.xml", "exe.xml"}));
}

TEST_F(Installing, SecondInstallRewritesTheSameBytes) {
  ASSERT_TRUE(Install());
  const auto first = LaunchList();

  EXPECT_TRUE(Install());
  EXPECT_EQ(LaunchList(), first);
  EXPECT_EQ(folder.Read("fsx/SimConnect.xml"), kServiceConfig);
  EXPECT_EQ(folder.Names("fsx"), (Names{"SimConnect.xml", "exe.xml"}));
}

TEST_F(Installing, ReenablesOwnEntryFoundRegardlessOfAsciiCase) {
  const std::string other = Addon("Weather", "False", "C:\\Weather\\wx.exe", "");
  GivenLaunchList(
      kHeader + Addon("My panels", "True", "c:\\PROGRAM FILES\\korvane\\korpanels.EXE", "-debug") +
      other + kEnd);

  EXPECT_TRUE(Install());
  EXPECT_EQ(LaunchList(), Crlf(kHeader +
                               Addon("My panels", "False",
                                     "c:\\PROGRAM FILES\\korvane\\korpanels.EXE", "-debug") +
                               other + kEnd));
}

TEST_F(Installing, PathWithBlanksOrQuotesIsAnotherProgram) {
  const std::string others =
      Addon("Blank", "True", " C:\\Program Files\\Korvane\\KorPanels.exe", "-run") +
      Addon("Quoted", "True", "\"C:\\Program Files\\Korvane\\KorPanels.exe\"", "-run");
  GivenLaunchList(kHeader + others + kEnd);

  EXPECT_TRUE(Install());
  EXPECT_EQ(LaunchList(), Crlf(kHeader + others + OwnAddon() + kEnd));
}

TEST_F(Installing, RemovesOneSwitchPanelEntryPerInstall) {
  const std::string bare = Addon("Bare", "False", "KorSwitchPanel.exe", "");
  const std::string first = Addon("Switch 1", "False", "C:\\Kor\\korswitchpanel.EXE", "");
  const std::string other = Addon("Weather", "False", "C:\\Weather\\wx.exe", "");
  const std::string second = Addon("Switch 2", "False", "D:\\KorSwitchPanel.exe", "");
  GivenLaunchList(kHeader + bare + first + other + second + kEnd);

  EXPECT_TRUE(Install());
  EXPECT_EQ(LaunchList(), Crlf(kHeader + bare + other + second + OwnAddon() + kEnd));
  EXPECT_TRUE(Install());
  EXPECT_EQ(LaunchList(), Crlf(kHeader + bare + other + OwnAddon() + kEnd));
}

TEST_F(Installing, EmptyLaunchListGetsOnlyTheEntry) {
  GivenLaunchList("");

  EXPECT_TRUE(Install());
  EXPECT_EQ(LaunchList(), Crlf("\n" + OwnAddon() + kEnd));
}

TEST_F(Installing, ExistingConfigurationFilesAreLeftAsTheyAre) {
  folder.Write("docs/Flight Simulator X Files/SimConnect.ini", "");
  folder.Write("fsx/SimConnect.xml", "<custom/>");

  EXPECT_TRUE(Install());
  EXPECT_EQ(folder.Read("docs/Flight Simulator X Files/SimConnect.ini"), "");
  EXPECT_EQ(folder.Read("fsx/SimConnect.xml"), "<custom/>");
}

TEST_F(Installing, WithoutTheSimulatorFilesFolderOnlyTheClientConfigurationIsMissing) {
  std::filesystem::remove(folder.Path("docs/Flight Simulator X Files"));

  EXPECT_TRUE(Install());
  EXPECT_EQ(folder.Names("docs"), Names{});
  EXPECT_EQ(folder.Read("fsx/SimConnect.xml"), kServiceConfig);
  EXPECT_EQ(LaunchList(), Crlf(kHeader + OwnAddon() + kEnd));
}

TEST_F(Installing, MissingSimulatorFolderIsNotCreated) {
  EXPECT_FALSE(
      InstallPlugin({folder.Wide("nowhere"), folder.Wide("docs"), std::wstring(kOwnPath)}));
  EXPECT_EQ(folder.Names(), (Names{"docs", "fsx"}));
  EXPECT_EQ(folder.Read("docs/Flight Simulator X Files/SimConnect.ini"), kClientConfig);
}

TEST_F(Installing, OwnPathIsWrittenInWindows1252AsXmlText) {
  EXPECT_TRUE(Install(L"C:\\Spiele\\Gr\u00f6\u00dfe \u20ac & Co\\KorPanels.exe"));
  EXPECT_TRUE(Install(L"C:\\SPIELE\\Gr\u00f6\u00dfe \u20ac & Co\\KorPanels.exe"));

  EXPECT_EQ(LaunchList(), Crlf(kHeader +
                               OwnAddon("C:\\Spiele\\Gr\xf6\xdf"
                                        "e \x80 &amp; Co\\KorPanels.exe") +
                               kEnd));
}

TEST_F(Installing, OwnEntryWrittenWithAPlainAmpersandIsFoundAgain) {
  const std::wstring ownPath = L"C:\\Games\\Maps & Charts\\KorPanels.exe";
  const std::string other = Addon("Weather", "False", "C:\\Weather\\wx.exe", "");
  GivenLaunchList(kHeader +
                  Addon("By hand", "True", "C:\\Games\\Maps & Charts\\KorPanels.exe", "") + other +
                  kEnd);

  EXPECT_TRUE(Install(ownPath));
  EXPECT_EQ(
      LaunchList(),
      Crlf(kHeader + Addon("By hand", "False", "C:\\Games\\Maps & Charts\\KorPanels.exe", "") +
           other + kEnd));
  EXPECT_TRUE(Uninstall(ownPath));
  EXPECT_EQ(LaunchList(), Crlf(kHeader + other + kEnd));
}

TEST_F(Installing, PathThatCannotBeWrittenLeavesTheLaunchListAlone) {
  const std::wstring unwritable = L"C:\\\u65e5\u672c\\KorPanels.exe";
  EXPECT_FALSE(Install(unwritable));
  EXPECT_EQ(LaunchList(), std::nullopt);
  EXPECT_EQ(folder.Read("fsx/SimConnect.xml"), kServiceConfig);

  const std::string handEdited = kHeader + "<!-- kept -->\n" + kEnd;
  GivenLaunchList(handEdited);
  EXPECT_FALSE(Install(unwritable));
  EXPECT_FALSE(Uninstall(unwritable));
  EXPECT_EQ(LaunchList(), Crlf(handEdited));
}

TEST_F(Installing, PathThatCannotBeWrittenGoesInByItsShortForm) {
  const std::filesystem::path subfolder = folder.Path() / std::filesystem::path(u8"\u65e5\u672c");
  std::filesystem::create_directory(subfolder);
  std::ofstream{subfolder / "KorPanels.exe"};
  const std::wstring program = folder.Wide() + L"\\\u65e5\u672c\\KorPanels.exe";
  const auto shortForm = platform::ShortPathForm(program);
  if (!shortForm || std::ranges::any_of(*shortForm, [](wchar_t c) { return c > 0x7F; })) {
    GTEST_SKIP() << "no short form in ASCII here";
  }

  EXPECT_TRUE(Install(program));
  EXPECT_EQ(LaunchList(),
            Crlf(kHeader + OwnAddon(std::string(shortForm->begin(), shortForm->end())) + kEnd));
}

TEST_F(Installing, UninstallRemovesTheFirstOwnEntryOnly) {
  const std::string other = Addon("Weather", "False", "C:\\Weather\\wx.exe", "");
  const std::string again = OwnAddon();
  GivenLaunchList(kHeader + Addon("Mine", "True", "C:\\program files\\korvane\\KORPANELS.exe", "") +
                  other + again + kEnd);

  EXPECT_TRUE(Uninstall());
  EXPECT_EQ(LaunchList(), Crlf(kHeader + other + again + kEnd));
  EXPECT_EQ(folder.Names("fsx"), Names{"exe.xml"});
}

TEST_F(Installing, UninstallWithoutEntryRewritesInTheFileForm) {
  GivenLaunchList(
      "<SimBase.Document Type=\"Launch\" version=\"1,0\">\n"
      "<!-- comment -->\n"
      "  <Launch.Addon>\n"
      "    <Name>Weather</Name>\n"
      "  </Launch.Addon>\n"
      "</SimBase.Document>");

  EXPECT_TRUE(Uninstall());
  EXPECT_EQ(LaunchList(), Crlf("<SimBase.Document Type=\"Launch\" version=\"1,0\">\n"
                               "\n"
                               "\t\t<Launch.Addon>\n"
                               "    <Name>Weather</Name>\n"
                               "\t\t</Launch.Addon>\n"
                               "\n"
                               "</SimBase.Document>\n"));
}

TEST_F(Installing, UninstallWithoutLaunchListCreatesNothing) {
  EXPECT_FALSE(Uninstall());
  EXPECT_EQ(folder.Names("fsx"), Names{});
}

TEST(InstallerFolders, RealFoldersAreWhereTheShellSaysAndTheProgramIsFound) {
  const auto ownPath = platform::OwnExecutablePath();
  ASSERT_TRUE(ownPath);
  EXPECT_TRUE(platform::PathExists(*ownPath));

  const auto simulatorFolder = GetSimulatorFolder();
  const auto applicationData = platform::ApplicationDataFolder();
  ASSERT_EQ(simulatorFolder.has_value(), applicationData.has_value());
  if (simulatorFolder) {
    EXPECT_EQ(*simulatorFolder, *applicationData + L"\\Microsoft\\FSX");
  }
}

}  // namespace
}  // namespace installer
