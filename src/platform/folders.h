#pragma once

// Where the current user's files are and where this program runs from. Nothing is created.
//
// The POSIX stand-in puts the user folders under $HOME, in the places a Windows profile
// has them: $HOME/AppData/Roaming for application data, $HOME/AppData/Local for local
// application data and $HOME/Documents for documents; all are absent when $HOME is unset
// or empty. Its paths carry one wide
// character per byte, as in files.h.

#include <optional>
#include <string>
#include <string_view>

namespace platform {

// The roaming application-data folder.
std::optional<std::wstring> ApplicationDataFolder();

// The local (non-roaming) application-data folder.
std::optional<std::wstring> LocalApplicationDataFolder();

// The documents folder ("My Documents").
std::optional<std::wstring> DocumentsFolder();

// Full path of the running program's executable.
std::optional<std::wstring> OwnExecutablePath();

// The 8.3 short form of an existing path; nothing when it has none (always on POSIX).
std::optional<std::wstring> ShortPathForm(std::wstring_view path);

}  // namespace platform
