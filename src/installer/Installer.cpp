#include "installer/Installer.h"

#include "installer/LaunchListFile.h"
#include "installer/OwnPathText.h"
#include "installer/Registration.h"
#include "installer/SimConnectConfig.h"
#include "platform/files.h"
#include "platform/folders.h"

namespace installer {
namespace {

constexpr std::wstring_view kSimulatorSubfolder = L"\\Microsoft\\FSX";
constexpr std::wstring_view kLaunchListFile = L"\\exe.xml";

std::wstring LaunchListPath(std::wstring_view simulatorFolder) {
  return std::wstring(simulatorFolder) + std::wstring(kLaunchListFile);
}

}  // namespace

std::optional<std::wstring> GetSimulatorFolder() {
  const auto applicationData = platform::ApplicationDataFolder();
  if (!applicationData) return std::nullopt;
  return *applicationData + std::wstring(kSimulatorSubfolder);
}

bool InstallPlugin() {
  const auto simulatorFolder = GetSimulatorFolder();
  if (!simulatorFolder) return false;
  return InstallPlugin(
      {*simulatorFolder, platform::DocumentsFolder(), platform::OwnExecutablePath()});
}

bool InstallPlugin(const InstallSite& site) {
  if (site.documentsFolder) WriteSimConnectIni(*site.documentsFolder);
  WriteSimConnectXml(site.simulatorFolder);
  if (!site.ownPath) return false;
  const auto pathText = OwnPathText(*site.ownPath);
  if (!pathText) return false;

  const std::wstring launchList = LaunchListPath(site.simulatorFolder);
  if (!platform::PathExists(launchList)) {
    return platform::WriteFileWhole(launchList, LaunchListBytes(NewLaunchList(*pathText)),
                                    platform::IfExists::Keep);
  }
  auto list = ReadLaunchList(launchList);
  if (!list) return false;
  EnableOwnEntry(*list, *pathText);
  RemoveSwitchPanelEntry(*list);
  return WriteLaunchList(launchList, *list);
}

bool UninstallPlugin() {
  const auto simulatorFolder = GetSimulatorFolder();
  const auto ownPath = platform::OwnExecutablePath();
  return simulatorFolder && ownPath && UninstallPlugin(*simulatorFolder, *ownPath);
}

bool UninstallPlugin(std::wstring_view simulatorFolder, std::wstring_view ownPath) {
  const auto pathText = OwnPathText(ownPath);
  if (!pathText) return false;
  const std::wstring launchList = LaunchListPath(simulatorFolder);
  if (!platform::PathExists(launchList)) return false;
  auto list = ReadLaunchList(launchList);
  if (!list) return false;
  RemoveOwnEntry(*list, *pathText);
  return WriteLaunchList(launchList, *list);
}

}  // namespace installer
