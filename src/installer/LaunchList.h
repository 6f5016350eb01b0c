#pragma once

// The simulator's launch list (exe.xml) as held in memory, and its file form.
//
// Every field holds whole lines exactly as read, line feeds included; a field whose
// element was not found stays empty.

#include <string>
#include <string_view>
#include <vector>

namespace installer {

struct LaunchEntry {
  std::string name;
  std::string disabled;
  std::string path;
  std::string commandLine;

  bool operator==(const LaunchEntry&) const = default;
};

struct LaunchList {
  std::string xmlDeclaration;
  std::string documentOpening;
  std::string description;
  std::string fileName;
  std::string disabled;
  std::string manualLoad;
  std::vector<LaunchEntry> entries;

  bool operator==(const LaunchList&) const = default;
};

// Scans the file's bytes line by line for the elements above. Not an XML parser: it takes
// what it recognises from any bytes at all, and everything else is dropped.
LaunchList ParseLaunchList(std::string_view fileBytes);

// The file's bytes for the list: the header fields, an empty line, each entry between
// opening and closing lines of fixed indentation and followed by an empty line, and the
// closing line of the document.
std::string LaunchListBytes(const LaunchList& list);

}  // namespace installer
