#pragma once

#include <windows.h>

#include <chrono>
#include <string>
#include <string_view>

namespace vunits {

using std::chrono::milliseconds;

// The plug-in, KorPanels.exe from this program's folder, started with "-run" against the
// stand-in simulator library beside it, which it serves a remote control for.
class PluginUnderTest {
 public:
  PluginUnderTest();
  ~PluginUnderTest();
  PluginUnderTest(const PluginUnderTest&) = delete;
  PluginUnderTest& operator=(const PluginUnderTest&) = delete;

  // True once the plug-in has connected to the simulator and made its window.
  bool Started() const { return m_control != INVALID_HANDLE_VALUE && m_window != nullptr; }
  // The process id its log lines carry.
  DWORD ProcessId() const { return m_process.dwProcessId; }

  // One remote-control line for the stand-in simulator, and its answer.
  std::string Sim(std::string_view line);

  // Tells the plug-in's window of an arrival or a removal, as the system does, and
  // returns how long the window took to handle it.
  milliseconds Announce(bool arrival, const std::wstring& path);
  // Asks the plug-in's window whether the unit may go, as a safe removal does before the
  // unit is pulled, and returns how long the window took to let it go.
  milliseconds AskRemoval(const std::wstring& path);

  // Has the simulator quit and waits for the process; its exit code, or -1 when it did
  // not end in time.
  long QuitAndWait();

 private:
  milliseconds Tell(WPARAM event, const std::wstring& path);

  PROCESS_INFORMATION m_process{};
  HANDLE m_control = INVALID_HANDLE_VALUE;
  HWND m_window = nullptr;
};

}  // namespace vunits
