#include "eventlog/EventLog.h"

#include <array>
#include <cstdio>

#include "eventlog/Utf8.h"

namespace eventlog {
namespace {

// Far below the rotation size, so that one line always fits in a fresh file.
constexpr std::size_t kMaxTextCharacters = 2048;
constexpr std::wstring_view kCut = L" [...]";

std::wstring OneLine(std::wstring_view text) {
  std::wstring line(text.substr(0, kMaxTextCharacters));
  for (wchar_t& c : line) {
    if (c < L' ' || c == 0x7F) c = L' ';
  }
  if (text.size() > kMaxTextCharacters) line += kCut;
  return line;
}

}  // namespace

std::string FormatLine(const platform::LocalTime& time, std::uint32_t processId, Severity severity,
                       std::wstring_view text) {
  std::array<char, 64> prefix{};
  std::snprintf(prefix.data(), prefix.size(), "%04d-%02d-%02d %02d:%02d:%02d.%03d [pid %u] ",
                time.year, time.month, time.day, time.hour, time.minute, time.second,
                time.millisecond, processId);
  std::string line(prefix.data());
  if (severity == Severity::Warning) line += "WARNING: ";
  line += ToUtf8(OneLine(text));
  line += "\r\n";
  return line;
}

EventLog::EventLog(std::wstring folder)
    : path_(folder + L"\\" + std::wstring(kFileName)),
      olderPath_(folder + L"\\" + std::wstring(kOlderFileName)) {
  if (!platform::EnsureFolder(folder)) return;
  file_ = std::make_unique<platform::AppendFile>(path_);
  if (!file_->IsOpen()) file_.reset();
}

void EventLog::Write(Severity severity, std::wstring_view text) {
  // The time is taken before the lock, so it says when the event happened.
  const std::string line =
      FormatLine(platform::LocalTimeNow(), platform::CurrentProcessId(), severity, text);
  const std::lock_guard lock(mutex_);
  platform::AppendFile* file = FileFor(line.size());
  if (file && !file->Append(line)) file_.reset();
}

platform::AppendFile* EventLog::FileFor(std::size_t length) {
  if (!file_) return nullptr;
  const auto size = file_->Size();
  if (!size) {
    file_.reset();
    return nullptr;
  }
  if (*size == 0 || *size + length <= kRotateAtBytes) return file_.get();
  // Closed first: Windows moves an open file only when every opener allowed it.
  file_.reset();
  if (!platform::MoveReplacing(path_, olderPath_)) return nullptr;
  file_ = std::make_unique<platform::AppendFile>(path_);
  if (!file_->IsOpen()) file_.reset();
  return file_.get();
}

}  // namespace eventlog
