#pragma once

// Whole-file access for the small text files written for the simulator.
//
// Paths are wide strings with backslash separators, as on Windows. The POSIX stand-in
// takes both backslash and slash as separators and maps every wide character to the one
// byte of the same value (Latin-1), so byte names round-trip and wider characters cannot
// be named there.

#include <optional>
#include <string>
#include <string_view>

namespace platform {

// True when the attributes of whatever is at the path can be read.
bool PathExists(std::wstring_view path);

// The file's content byte for byte; nothing when it cannot be opened or read.
std::optional<std::string> ReadFileBytes(std::wstring_view path);

enum class IfExists { Keep, Replace };

// Writes the bytes to a new temporary file in the folder of `path` and only then moves it
// to `path`, so that `path` either is left as it was or holds exactly these bytes; the
// temporary file never outlives the call. With Keep an existing `path` is never touched
// and the call fails. Replacing keeps what the system holds of the file besides its bytes:
// its mode on POSIX; its hidden and system attributes and its security on Windows. No
// folder is created. False when `path` was not written.
bool WriteFileWhole(std::wstring_view path, std::string_view bytes, IfExists ifExists);

}  // namespace platform
