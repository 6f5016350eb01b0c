#include <algorithm>
#include <optional>

#include "installer/FileForm.h"
#include "installer/LaunchList.h"
#include "installer/LaunchListTags.h"

namespace installer {
namespace {

// Characters taken at a time, line feed included: a longer line is taken as several.
constexpr std::size_t kMaxLineLength = 1023;

bool Contains(std::string_view line, std::string_view tag) {
  return line.find(tag) != std::string_view::npos;
}

class LineReader {
 public:
  explicit LineReader(std::string_view text) : rest_(text) {}

  std::optional<std::string_view> Next() {
    if (rest_.empty()) return std::nullopt;
    const std::string_view chunk = rest_.substr(0, kMaxLineLength);
    const auto feed = chunk.find('\n');
    const std::string_view line =
        feed == std::string_view::npos ? chunk : chunk.substr(0, feed + 1);
    rest_.remove_prefix(line.size());
    return line;
  }

 private:
  std::string_view rest_;
};

// The first element whose opening tag the line contains becomes the line; it stays open
// (returned) when the line lacks its closing tag.
template <class Record, std::size_t N>
const Element<Record>* Select(Record& record, std::string_view line,
                              const std::array<Element<Record>, N>& elements) {
  const auto element = std::find_if(elements.begin(), elements.end(),
                                    [line](const auto& e) { return Contains(line, e.open); });
  if (element == elements.end()) return nullptr;
  record.*(element->field) = line;
  return Contains(line, element->close) ? nullptr : &*element;
}

// An open element collects the line; true when the line closes it.
template <class Record>
bool Collect(Record& record, std::string_view line, const Element<Record>& open) {
  record.*(open.field) += line;
  return Contains(line, open.close);
}

class Scanner {
 public:
  explicit Scanner(std::string_view text) : lines_(text) {}

  LaunchList Run() && {
    while (const auto line = lines_.Next()) {
      std::string_view current = *line;
      if (Contains(current, kXmlDeclarationTag)) {
        list_.xmlDeclaration += current;
      } else if (Contains(current, kDocumentTag)) {
        list_.documentOpening += current;
      } else if (Contains(current, kEntryOpenTag)) {
        current = ReadEntry(current);
      }
      TakeHeaderLine(current);
    }
    return std::move(list_);
  }

 private:
  // Reads up to the entry's closing line or the end of the file; returns the last line read.
  std::string_view ReadEntry(std::string_view openingLine) {
    LaunchEntry entry;
    std::string_view last = openingLine;
    while (const auto line = lines_.Next()) {
      last = *line;
      if (openEntry_ != nullptr) {
        if (Collect(entry, last, *openEntry_)) CloseAll();
      } else if (Contains(last, kEntryCloseTag)) {
        break;
      } else if (const auto* opened = Select(entry, last, kEntryElements)) {
        openEntry_ = opened;
        openHeader_ = nullptr;
      }
    }
    list_.entries.push_back(std::move(entry));
    return last;
  }

  void TakeHeaderLine(std::string_view line) {
    if (openHeader_ != nullptr) {
      if (Collect(list_, line, *openHeader_)) CloseAll();
    } else if (const auto* opened = Select(list_, line, kHeaderElements)) {
      openHeader_ = opened;
      openEntry_ = nullptr;
    }
  }

  void CloseAll() {
    openHeader_ = nullptr;
    openEntry_ = nullptr;
  }

  LineReader lines_;
  LaunchList list_;
  // The element still waiting for its closing tag: at most one, of the header or of an
  // entry, and it runs on across everything the scanner meets until that tag comes.
  const Element<LaunchList>* openHeader_ = nullptr;
  const Element<LaunchEntry>* openEntry_ = nullptr;
};

}  // namespace

LaunchList ParseLaunchList(std::string_view fileBytes) {
  const std::string text = FromFileForm(fileBytes);
  return Scanner(text).Run();
}

}  // namespace installer
