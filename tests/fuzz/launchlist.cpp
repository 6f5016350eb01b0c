// Arbitrary bytes as a launch list: reading and rewriting them must never fail, and a list
// whose every element stands closed on a line of its own must come back from its rewrite
// unchanged, also after this program's entry was enabled in it.

#include "installer/LaunchList.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <initializer_list>
#include <string_view>

#include "installer/LaunchListTags.h"
#include "installer/Registration.h"

namespace {

using namespace installer;

constexpr std::string_view kPathText = "C:\\Program Files\\Korvane\\KorPanels.exe";
// The scanner's longest line, line feed included.
constexpr std::size_t kMaxLineLength = 1023;

void Require(bool condition) {
  if (!condition) std::abort();
}

bool Has(std::string_view text, std::string_view tag) {
  return text.find(tag) != std::string_view::npos;
}

bool IsOneLine(std::string_view text) {
  return !text.empty() && text.size() <= kMaxLineLength && text.find('\n') == text.size() - 1;
}

bool HasNone(std::string_view text, std::initializer_list<std::string_view> tags) {
  for (const auto tag : tags) {
    if (Has(text, tag)) return false;
  }
  return true;
}

template <class Record, std::size_t N>
bool HasNoOpeningTag(std::string_view text, const std::array<Element<Record>, N>& elements,
                     std::size_t count = N) {
  for (std::size_t i = 0; i < count; ++i) {
    if (Has(text, elements[i].open)) return false;
  }
  return true;
}

// Each field empty or one line that holds its element closed, and no tag that the scanner
// tries before that element's or that would give the line to another record.
template <class Record, std::size_t N>
bool HasClosedLines(const Record& record, const std::array<Element<Record>, N>& elements,
                    std::initializer_list<std::string_view> foreign) {
  for (std::size_t i = 0; i < N; ++i) {
    const std::string& field = record.*(elements[i].field);
    if (field.empty()) continue;
    if (!IsOneLine(field) || !Has(field, elements[i].open) || !Has(field, elements[i].close) ||
        !HasNoOpeningTag(field, elements, i) || !HasNone(field, foreign)) {
      return false;
    }
  }
  return true;
}

// Lines collected for the declaration or the document opening: each with its own tag and
// none that a header element would also take.
bool HasTaggedLines(std::string_view lines, std::string_view tag,
                    std::initializer_list<std::string_view> foreign) {
  while (!lines.empty()) {
    const std::string_view line = lines.substr(0, lines.find('\n') + 1);
    if (!IsOneLine(line) || !Has(line, tag) || !HasNone(line, foreign) ||
        !HasNoOpeningTag(line, kHeaderElements)) {
      return false;
    }
    lines.remove_prefix(line.size());
  }
  return true;
}

bool IsWellFormed(const LaunchList& list) {
  if (!HasTaggedLines(list.xmlDeclaration, kXmlDeclarationTag, {}) ||
      !HasTaggedLines(list.documentOpening, kDocumentTag, {kXmlDeclarationTag}) ||
      !HasClosedLines(list, kHeaderElements, {kXmlDeclarationTag, kDocumentTag, kEntryOpenTag})) {
    return false;
  }
  for (const auto& entry : list.entries) {
    if (!HasClosedLines(entry, kEntryElements, {kEntryCloseTag})) return false;
  }
  return true;
}

void RequireRewriteIsStable(const LaunchList& list) {
  const std::string bytes = LaunchListBytes(list);
  const LaunchList reread = ParseLaunchList(bytes);
  Require(reread == list);
  Require(LaunchListBytes(reread) == bytes);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const LaunchList list =
      ParseLaunchList(std::string_view(reinterpret_cast<const char*>(data), size));
  LaunchList installed = list;
  EnableOwnEntry(installed, kPathText);
  RemoveSwitchPanelEntry(installed);
  LaunchList uninstalled = list;
  RemoveOwnEntry(uninstalled, kPathText);

  if (IsWellFormed(list)) {
    RequireRewriteIsStable(list);
    RequireRewriteIsStable(installed);
    RequireRewriteIsStable(uninstalled);
  } else {
    ParseLaunchList(LaunchListBytes(installed));
    ParseLaunchList(LaunchListBytes(uninstalled));
  }
  return 0;
}
