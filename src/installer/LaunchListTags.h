#pragma once

// The tags by which the launch-list scanner recognises lines; a line contains a tag when the
// tag occurs anywhere in it, letter case included.

#include <array>
#include <string>
#include <string_view>

#include "installer/LaunchList.h"

namespace installer {

inline constexpr std::string_view kXmlDeclarationTag = "<?xml";
inline constexpr std::string_view kDocumentTag = "<SimBase.Document";
inline constexpr std::string_view kEntryOpenTag = "<Launch.Addon>";
inline constexpr std::string_view kEntryCloseTag = "</Launch.Addon>";
inline constexpr std::string_view kDocumentCloseTag = "</SimBase.Document>";

// An element that fills one field of its record, from the line with the opening tag up to
// the line with the closing tag.
template <class Record>
struct Element {
  std::string_view open;
  std::string_view close;
  std::string Record::*field;
};

// In the order in which the tags of a line are tried, which is also the order of writing.
inline constexpr std::array<Element<LaunchList>, 4> kHeaderElements = {{
    {"<Descr>", "</Descr>", &LaunchList::description},
    {"<Filename>", "</Filename>", &LaunchList::fileName},
    {"<Disabled>", "</Disabled>", &LaunchList::disabled},
    {"<Launch.ManualLoad>", "</Launch.ManualLoad>", &LaunchList::manualLoad},
}};

inline constexpr std::array<Element<LaunchEntry>, 4> kEntryElements = {{
    {"<Name>", "</Name>", &LaunchEntry::name},
    {"<Disabled>", "</Disabled>", &LaunchEntry::disabled},
    {"<Path>", "</Path>", &LaunchEntry::path},
    {"<CommandLine>", "</CommandLine>", &LaunchEntry::commandLine},
}};

}  // namespace installer
