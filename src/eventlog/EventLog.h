#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>

#include "platform/log_file.h"

namespace eventlog {

enum class Severity { Note, Warning };

// One line of the log: local date and time to the millisecond, the process id, and the
// text, which cannot break the line (control characters become blanks) and is cut short
// where it would make the line long. UTF-8, CR LF.
std::string FormatLine(const platform::LocalTime& time, std::uint32_t processId, Severity severity,
                       std::wstring_view text);

// A log file in one folder that keeps itself small: a line that would take it past
// kRotateAtBytes first moves it to the older name, replacing the older file, so the two
// never hold more than twice that. Lines are written whole and at once, from any thread.
// A log that cannot be opened, moved or written stops there, without a word: the program
// must run the same with it or without it.
class EventLog {
 public:
  static constexpr std::uint64_t kRotateAtBytes = 256 * 1024;
  static constexpr std::wstring_view kFileName = L"KorPanels.log";
  static constexpr std::wstring_view kOlderFileName = L"KorPanels.1.log";

  // Creates the folder when missing, but not its parent.
  explicit EventLog(std::wstring folder);
  EventLog(const EventLog&) = delete;
  EventLog& operator=(const EventLog&) = delete;

  void Write(Severity severity, std::wstring_view text);
  const std::wstring& Path() const { return path_; }

 private:
  // With the lock held: the file to write a line of `length` bytes to, after a rotation
  // when one is due; null when the log has stopped.
  platform::AppendFile* FileFor(std::size_t length);

  const std::wstring path_;
  const std::wstring olderPath_;
  std::mutex mutex_;
  std::unique_ptr<platform::AppendFile> file_;
};

}  // namespace eventlog
