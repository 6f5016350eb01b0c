#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "eventlog/EventLog.h"

namespace eventlog {

// The running program's log, "Korvane\KorPanels.log" in a local application-data folder,
// for as long as this object lives: Note and Warning write there, and without a log they
// write nothing. A program makes it before any thread that logs starts and lets it go after
// they have ended. A second one takes over until it goes, then the first one is back.
class ProcessLog {
 public:
  static constexpr std::wstring_view kFolderName = L"Korvane";

  // In the user's local application-data folder.
  ProcessLog();
  // In the given one; no log at all without one.
  explicit ProcessLog(const std::optional<std::wstring>& applicationData);
  ~ProcessLog();
  ProcessLog(const ProcessLog&) = delete;
  ProcessLog& operator=(const ProcessLog&) = delete;

  // Where the lines go; nothing when there is no folder for them.
  std::optional<std::wstring> Path() const;

 private:
  std::unique_ptr<EventLog> log_;
  EventLog* previous_ = nullptr;
};

// One line in the running program's log.
void Note(std::wstring_view text);
void Warning(std::wstring_view text);

}  // namespace eventlog
