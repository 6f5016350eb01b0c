#include "host/SessionLog.h"

#include <array>
#include <cstdio>
#include <string>

#include "eventlog/ProcessLog.h"
#include "host/version.h"
#include "platform/folders.h"

namespace host {
namespace {

std::wstring Hex(std::uint32_t value, int digits) {
  std::array<char, 16> text{};
  std::snprintf(text.data(), text.size(), "%0*X", digits, value);
  return std::wstring(text.data(), text.data() + std::char_traits<char>::length(text.data()));
}

std::wstring Result(platform::HResult result) {
  return L"result 0x" + Hex(static_cast<std::uint32_t>(result), 8);
}

std::wstring Narrow(const char* text) {
  return std::wstring(text, text + std::char_traits<char>::length(text));
}

std::wstring_view JobText(Job job) {
  switch (job) {
    case Job::Install:
      return L"to install itself into the simulator's launch list";
    case Job::Uninstall:
      return L"to remove itself from the simulator's launch list";
    case Job::Run:
      return L"to run as the simulator's plug-in";
    case Job::InstallThenRun:
      return L"to install itself, then run as the simulator's plug-in";
  }
  return {};
}

std::wstring_view CauseText(DetachCause cause) {
  switch (cause) {
    case DetachCause::SafeRemoval:
      return L"Windows asked to remove it";
    case DetachCause::Unplugged:
      return L"it was unplugged";
    case DetachCause::PluginStopping:
      return L"the plug-in stops";
  }
  return {};
}

}  // namespace

void LogStart(Job job) {
  const auto ownPath = platform::OwnExecutablePath();
  eventlog::Note(L"KorPanels " + Narrow(KOR_VERSION_TEXT) + L" started " +
                 std::wstring(JobText(job)) + L" (" + ownPath.value_or(L"own path unknown") +
                 L").");
}

void LogLibrarySearch(std::wstring_view libraryName, const platform::LibrarySearch& search) {
  const std::wstring name(libraryName);
  switch (search.way) {
    case platform::LibrarySearch::Way::PlainName:
      eventlog::Note(L"Loaded the simulator's client library " + name + L" by its plain name.");
      return;
    case platform::LibrarySearch::Way::SideBySide:
      eventlog::Note(L"Loaded the simulator's client library " + name +
                     L" from the side-by-side store, version " + search.versions.front() + L".");
      return;
    case platform::LibrarySearch::Way::NotFound: {
      std::wstring tried;
      for (const std::wstring& version : search.versions) {
        tried += (tried.empty() ? L"; tried the side-by-side store in version " : L", ") + version;
      }
      eventlog::Note(L"Did not find the simulator's client library " + name +
                     L": not by its plain name" + tried + L".");
      return;
    }
  }
}

void LogConnection(platform::HResult result) {
  if (result >= 0) {
    eventlog::Note(L"Connected to the simulator.");
  } else if (result == platform::kENotImpl) {
    eventlog::Note(L"Could not connect: the simulator's client library is missing (" +
                   Result(result) + L"). The plug-in ends.");
  } else {
    eventlog::Note(L"The simulator refused the connection (" + Result(result) +
                   L"); it may not be running. The plug-in ends.");
  }
}

void LogSubscriptionRefused(const char* systemEvent, platform::HResult result) {
  eventlog::Note(L"The simulator refused to report its \"" + Narrow(systemEvent) + L"\" event (" +
                 Result(result) + L"). The plug-in ends.");
}

void LogAttached(std::wstring_view model, std::wstring_view path) {
  eventlog::Note(L"Attached the " + std::wstring(model) + L" at " + std::wstring(path) + L".");
}

void LogDeclined(std::wstring_view path, std::uint32_t vendorId, std::uint32_t productId,
                 std::optional<std::wstring_view> model) {
  const std::wstring ids = L"vendor id " + Hex(vendorId, 4) + L", product id " + Hex(productId, 4);
  if (model) {
    eventlog::Note(L"Declined the " + std::wstring(*model) + L" at " + std::wstring(path) + L" (" +
                   ids + L"): it could not be opened for use.");
  } else {
    eventlog::Note(L"Declined a device at " + std::wstring(path) + L" (" + ids +
                   L"): this version serves no panel of that product id.");
  }
}

void LogDetached(std::wstring_view model, std::wstring_view path, DetachCause cause,
                 std::chrono::milliseconds stopTook) {
  eventlog::Note(L"Detached the " + std::wstring(model) + L" at " + std::wstring(path) + L" (" +
                 std::wstring(CauseText(cause)) + L"); it stopped in " +
                 std::to_wstring(stopTook.count()) + L" ms.");
}

void LogSimulatorQuit() {
  eventlog::Note(L"The simulator is quitting; the plug-in stops its panels.");
}

void LogSecondInstanceRefused() {
  eventlog::Note(L"Another KorPanels already runs as the simulator's plug-in; this one ends.");
}

int LogExit(int exitCode) {
  eventlog::Note(L"KorPanels ended with exit code " + std::to_wstring(exitCode) + L".");
  return exitCode;
}

}  // namespace host
