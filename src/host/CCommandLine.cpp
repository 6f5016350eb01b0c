#include "host/CCommandLine.h"

#include <algorithm>
#include <array>
#include <cwctype>
#include <string_view>

#include "host/SessionLog.h"
#include "installer/Installer.h"
#include "platform/process.h"

namespace {

using host::Job;

struct Keyword {
  std::wstring_view argument;
  std::wstring_view debugLine;
  Job job;
};

// Tried in this order; the first match decides.
constexpr std::array kKeywords = {
    Keyword{L"-install", L"KorFlightSimX -install\n", Job::Install},
    Keyword{L"-uninstall", L"KorFlightSimX -uninstall\n", Job::Uninstall},
    Keyword{L"-run", L"KorFlightSimX -run\n", Job::Run},
};

bool EqualIgnoringCase(std::wstring_view left, std::wstring_view right) {
  return std::ranges::equal(
      left, right, [](wchar_t a, wchar_t b) { return std::towlower(a) == std::towlower(b); });
}

}  // namespace

CCommandLine::CCommandLine() : CCommandLine(platform::CommandLineArguments()) {}

CCommandLine::CCommandLine(std::vector<std::wstring> arguments)
    : m_arguments(std::move(arguments)) {}

bool CCommandLine::RunCommandLine() {
  if (m_arguments.size() == 2) {
    for (const Keyword& keyword : kKeywords) {
      if (!EqualIgnoringCase(m_arguments[1], keyword.argument)) continue;
      platform::DebugOutput(keyword.debugLine);
      host::LogStart(keyword.job);
      switch (keyword.job) {
        case Job::Install:
          InstallPlugin();
          return false;
        case Job::Uninstall:
          UninstallPlugin();
          return false;
        case Job::Run:
        case Job::InstallThenRun:
          return true;
      }
    }
  }
  host::LogStart(Job::InstallThenRun);
  InstallPlugin();
  return true;
}

bool CCommandLine::InstallPlugin() {
  return installer::InstallPlugin();
}

bool CCommandLine::UninstallPlugin() {
  return installer::UninstallPlugin();
}
