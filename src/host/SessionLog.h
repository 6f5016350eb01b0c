#pragma once

// What the plug-in tells its log about a session, in words a pilot reads without a manual.
// Only events that happen once or on a pilot's action come here: nothing per input report
// or per simulator record.

#include <chrono>
#include <cstdint>
#include <optional>
#include <string_view>

#include "platform/library.h"
#include "platform/result.h"

namespace host {

// The jobs a command line can name.
enum class Job { Install, Uninstall, Run, InstallThenRun };

void LogStart(Job job);
void LogLibrarySearch(std::wstring_view libraryName, const platform::LibrarySearch& search);
void LogConnection(platform::HResult result);
void LogSubscriptionRefused(const char* systemEvent, platform::HResult result);
void LogAttached(std::wstring_view model, std::wstring_view path);
// A unit of the panels' maker that no behaviour took: of a model served here whose open
// failed (`model` names it), or of a product this version does not serve.
void LogDeclined(std::wstring_view path, std::uint32_t vendorId, std::uint32_t productId,
                 std::optional<std::wstring_view> model);

enum class DetachCause { SafeRemoval, Unplugged, PluginStopping };
void LogDetached(std::wstring_view model, std::wstring_view path, DetachCause cause,
                 std::chrono::milliseconds stopTook);

void LogSimulatorQuit();
// For the single-instance guard: a second plug-in process that leaves the first one alone.
void LogSecondInstanceRefused();
// The process's exit code, handed back so that an entry can end with `return LogExit(...)`.
int LogExit(int exitCode);

}  // namespace host
