#include "platform/process.h"

#include <mutex>

#include "platform/posix/process_arguments.h"

namespace platform {

namespace {

struct ProcessState {
  std::mutex lock;
  std::vector<std::wstring> arguments;
  std::vector<std::wstring> debugLines;
};

ProcessState& State() {
  static ProcessState state;
  return state;
}

// Arguments are bytes; each becomes the wide character of the same value, as paths do.
std::wstring Widened(const char* text) {
  std::wstring wide;
  for (const char* c = text; *c; ++c) wide.push_back(static_cast<unsigned char>(*c));
  return wide;
}

}  // namespace

void posix::SetCommandLineArguments(int argc, char** argv) {
  std::lock_guard lock(State().lock);
  State().arguments.clear();
  for (int index = 0; index < argc; ++index) State().arguments.push_back(Widened(argv[index]));
}

std::vector<std::wstring> posix::DebugOutputLines() {
  std::lock_guard lock(State().lock);
  return State().debugLines;
}

std::vector<std::wstring> CommandLineArguments() {
  std::lock_guard lock(State().lock);
  return State().arguments;
}

void DebugOutput(std::wstring_view text) {
  std::lock_guard lock(State().lock);
  State().debugLines.emplace_back(text);
}

ProcessSetup::ProcessSetup() = default;
ProcessSetup::~ProcessSetup() = default;

}  // namespace platform
