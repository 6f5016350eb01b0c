#pragma once

// What the plug-in's log needs from the system: its one folder, a file written only at its
// end, moving that file aside, and the local time and process id each line carries.
//
// Paths are wide strings as in files.h; the POSIX stand-in maps them the same way.

#include <cstdint>
#include <optional>
#include <string_view>

namespace platform {

// Creates the folder when it is missing; its parent is never created. True when the folder
// is there afterwards.
bool EnsureFolder(std::wstring_view path);

// A file opened for appending, created when missing. Other processes may read it, append to
// it, move it or delete it while it is open here.
class AppendFile {
 public:
  explicit AppendFile(std::wstring_view path);
  ~AppendFile();
  AppendFile(const AppendFile&) = delete;
  AppendFile& operator=(const AppendFile&) = delete;

  bool IsOpen() const { return native_ != kClosed; }
  // Writes the bytes at the end of the file with one call into the system, so that they
  // outlive a crash of this process; false when they were not all written.
  bool Append(std::string_view bytes);
  // The file's size now, whoever wrote it; nothing when it cannot be read.
  std::optional<std::uint64_t> Size() const;

 private:
  static constexpr std::intptr_t kClosed = -1;
  // A file handle on Windows, a descriptor on POSIX.
  std::intptr_t native_ = kClosed;
};

// Renames the file, replacing whatever file has the new name. False when it stayed.
bool MoveReplacing(std::wstring_view from, std::wstring_view to);

struct LocalTime {
  int year = 0;
  int month = 0;
  int day = 0;
  int hour = 0;
  int minute = 0;
  int second = 0;
  int millisecond = 0;
};

// The wall-clock time in the user's time zone.
LocalTime LocalTimeNow();

std::uint32_t CurrentProcessId();

}  // namespace platform
