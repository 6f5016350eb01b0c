#include "installer/Registration.h"

#include <algorithm>
#include <string>

#include "installer/XmlEntities.h"

namespace installer {
namespace {

constexpr std::string_view kOwnName = "\t\t\t<Name>Korvane Panel(s) Plugin for FSX</Name>\n";
constexpr std::string_view kEnabled = "\t\t\t<Disabled>False</Disabled>\n";
constexpr std::string_view kOwnCommandLine = "\t\t\t<CommandLine>-run</CommandLine>\n";
constexpr std::string_view kSwitchPanelProgram = "KorSwitchPanel.exe";

char AsciiLower(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b) {
  return std::ranges::equal(a, b, [](char x, char y) { return AsciiLower(x) == AsciiLower(y); });
}

// Another writer may have put the path in plainly, "&" and all.
auto FindOwnEntry(LaunchList& list, std::string_view pathText) {
  const std::string plainText = PlainPathText(pathText);
  return std::ranges::find_if(list.entries, [pathText, &plainText](const LaunchEntry& entry) {
    const std::string_view stored = ExtractTagText(entry.path);
    return EqualsIgnoringAsciiCase(stored, pathText) || EqualsIgnoringAsciiCase(stored, plainText);
  });
}

bool IsSwitchPanelEntry(const LaunchEntry& entry) {
  const std::string_view path = ExtractTagText(entry.path);
  const auto separator = path.rfind('\\');
  return separator != std::string_view::npos &&
         EqualsIgnoringAsciiCase(path.substr(separator + 1), kSwitchPanelProgram);
}

LaunchEntry OwnEntry(std::string_view pathText) {
  return {
      .name = std::string(kOwnName),
      .disabled = std::string(kEnabled),
      .path = "\t\t\t<Path>" + std::string(pathText) + "</Path>\n",
      .commandLine = std::string(kOwnCommandLine),
  };
}

}  // namespace

std::string_view ExtractTagText(std::string_view line) {
  const auto begin = line.find('>');
  if (begin == std::string_view::npos) return line;
  const auto end = line.find('<', begin + 1);
  if (end == std::string_view::npos) return line;
  return line.substr(begin + 1, end - begin - 1);
}

EntryChange EnableOwnEntry(LaunchList& list, std::string_view pathText) {
  const auto own = FindOwnEntry(list, pathText);
  if (own == list.entries.end()) {
    list.entries.push_back(OwnEntry(pathText));
    return EntryChange::Added;
  }
  if (own->disabled == kEnabled) return EntryChange::Kept;
  own->disabled = kEnabled;
  return EntryChange::ReEnabled;
}

bool RemoveOwnEntry(LaunchList& list, std::string_view pathText) {
  const auto own = FindOwnEntry(list, pathText);
  if (own == list.entries.end()) return false;
  list.entries.erase(own);
  return true;
}

bool RemoveSwitchPanelEntry(LaunchList& list) {
  const auto entry = std::ranges::find_if(list.entries, IsSwitchPanelEntry);
  if (entry == list.entries.end()) return false;
  list.entries.erase(entry);
  return true;
}

LaunchList NewLaunchList(std::string_view pathText) {
  return {
      .xmlDeclaration = "<?xml version=\"1.0\" encoding=\"Windows-1252\"?>\n",
      .documentOpening = "<SimBase.Document Type=\"Launch\" version=\"1,0\">\n",
      .description = "\t<Descr>Launch</Descr>\n",
      .fileName = "\t<Filename>exe.xml</Filename>\n",
      .disabled = "\t<Disabled>False</Disabled>\n",
      .manualLoad = "\t<Launch.ManualLoad>False</Launch.ManualLoad>\n",
      .entries = {OwnEntry(pathText)},
  };
}

}  // namespace installer
