#include "installer/Installer.h"

#include "eventlog/ProcessLog.h"
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

std::wstring_view ChangeText(EntryChange change) {
  switch (change) {
    case EntryChange::Added:
      return L"added";
    case EntryChange::ReEnabled:
      return L"re-enabled";
    case EntryChange::Kept:
      return L"kept as it was, enabled";
  }
  return {};
}

// The line a pilot looks for: which launch list, and what became of this program's entry.
bool LogWritten(const std::wstring& launchList, bool written, std::wstring_view entry) {
  if (written) {
    eventlog::Note(L"Wrote the launch list " + launchList + L": this program's entry " +
                   std::wstring(entry) + L".");
  } else {
    eventlog::Note(L"Could not write the launch list " + launchList + L"; it is unchanged.");
  }
  return written;
}

void LogLeftAlone(const std::wstring& launchList, std::wstring_view why) {
  eventlog::Note(L"Left the launch list " + launchList + L" alone: " + std::wstring(why) + L".");
}

}  // namespace

std::optional<std::wstring> GetSimulatorFolder() {
  const auto applicationData = platform::ApplicationDataFolder();
  if (!applicationData) return std::nullopt;
  return *applicationData + std::wstring(kSimulatorSubfolder);
}

bool InstallPlugin() {
  const auto simulatorFolder = GetSimulatorFolder();
  if (!simulatorFolder) {
    eventlog::Note(L"Install found no application-data folder; nothing was written.");
    return false;
  }
  return InstallPlugin(
      {*simulatorFolder, platform::DocumentsFolder(), platform::OwnExecutablePath()});
}

bool InstallPlugin(const InstallSite& site) {
  if (site.documentsFolder) {
    WriteSimConnectIni(*site.documentsFolder);
  } else {
    eventlog::Note(L"Install found no documents folder; SimConnect.ini was not written.");
  }
  WriteSimConnectXml(site.simulatorFolder);
  const std::wstring launchList = LaunchListPath(site.simulatorFolder);
  if (!site.ownPath) {
    LogLeftAlone(launchList, L"this program's own path is unknown");
    return false;
  }
  const auto pathText = OwnPathText(*site.ownPath);
  if (!pathText) {
    LogLeftAlone(launchList, L"this program's path " + *site.ownPath + L" cannot be written in it");
    return false;
  }

  if (!platform::PathExists(launchList)) {
    return LogWritten(
        launchList,
        platform::WriteFileWhole(launchList, LaunchListBytes(NewLaunchList(*pathText)),
                                 platform::IfExists::Keep),
        L"added in a new file");
  }
  auto list = ReadLaunchList(launchList);
  if (!list) {
    LogLeftAlone(launchList, L"it could not be read");
    return false;
  }
  const EntryChange change = EnableOwnEntry(*list, *pathText);
  const bool switchPanelRemoved = RemoveSwitchPanelEntry(*list);
  const bool written =
      LogWritten(launchList, WriteLaunchList(launchList, *list), ChangeText(change));
  if (written && switchPanelRemoved) {
    eventlog::Note(L"Removed the entry of the stand-alone KorSwitchPanel.exe from it.");
  }
  return written;
}

bool UninstallPlugin() {
  const auto simulatorFolder = GetSimulatorFolder();
  const auto ownPath = platform::OwnExecutablePath();
  if (!simulatorFolder || !ownPath) {
    eventlog::Note(L"Uninstall found no application-data folder or own path; nothing changed.");
    return false;
  }
  return UninstallPlugin(*simulatorFolder, *ownPath);
}

bool UninstallPlugin(std::wstring_view simulatorFolder, std::wstring_view ownPath) {
  const std::wstring launchList = LaunchListPath(simulatorFolder);
  const auto pathText = OwnPathText(ownPath);
  if (!pathText) {
    LogLeftAlone(launchList,
                 L"this program's path " + std::wstring(ownPath) + L" cannot stand in it");
    return false;
  }
  if (!platform::PathExists(launchList)) {
    LogLeftAlone(launchList, L"there is no such file");
    return false;
  }
  auto list = ReadLaunchList(launchList);
  if (!list) {
    LogLeftAlone(launchList, L"it could not be read");
    return false;
  }
  const bool removed = RemoveOwnEntry(*list, *pathText);
  return LogWritten(launchList, WriteLaunchList(launchList, *list),
                    removed ? L"removed" : L"was not there; nothing else changed");
}

}  // namespace installer
