#pragma once

// How install and uninstall change the launch list. `pathText` is this program's path as
// it stands in the file (see OwnPathText.h); it is compared with an entry's path text,
// in that form or in its plain one, without regard to the case of ASCII letters.

#include <string_view>

#include "installer/LaunchList.h"

namespace installer {

// The text between the line's first ">" and the first "<" after it; the whole line when
// either is missing.
std::string_view ExtractTagText(std::string_view line);

enum class EntryChange { Added, ReEnabled, Kept };

// Enables this program's entry, keeping its name and command line, or appends a new one.
EntryChange EnableOwnEntry(LaunchList& list, std::string_view pathText);

// Removes the first entry of this program; false when there was none.
bool RemoveOwnEntry(LaunchList& list, std::string_view pathText);

// Removes the first entry of the stand-alone switch-panel program; false when there was none.
bool RemoveSwitchPanelEntry(LaunchList& list);

// A launch list holding only this program's entry, for when there is no file yet.
LaunchList NewLaunchList(std::string_view pathText);

}  // namespace installer
