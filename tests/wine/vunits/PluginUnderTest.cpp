#include "PluginUnderTest.h"

#include <dbt.h>

#include <cstddef>
#include <cstring>
#include <vector>

#include "ProgramFolder.h"
#include "VirtualUnitWire.h"

namespace vunits {
namespace {

using Clock = std::chrono::steady_clock;

// Generous: under emulation a process start alone takes most of a minute.
constexpr auto kStartPatience = std::chrono::seconds(240);
constexpr DWORD kAnswerBytes = 64 * 1024;
constexpr DWORD kNoticePatienceMs = 60000;
constexpr DWORD kEndPatienceMs = 60000;

HANDLE ConnectControl(const std::wstring& name, HANDLE process) {
  const auto deadline = Clock::now() + kStartPatience;
  while (Clock::now() < deadline && WaitForSingleObject(process, 0) == WAIT_TIMEOUT) {
    HANDLE pipe = CreateFileW(name.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                              0, nullptr);
    if (pipe != INVALID_HANDLE_VALUE) {
      DWORD mode = PIPE_READMODE_MESSAGE;
      SetNamedPipeHandleState(pipe, &mode, nullptr, nullptr);
      return pipe;
    }
    Sleep(50);
  }
  return INVALID_HANDLE_VALUE;
}

HWND FindPluginWindow(DWORD processId) {
  const auto deadline = Clock::now() + kStartPatience;
  while (Clock::now() < deadline) {
    for (HWND window = FindWindowExW(nullptr, nullptr, L"KorvanePluginWindow", nullptr); window;
         window = FindWindowExW(nullptr, window, L"KorvanePluginWindow", nullptr)) {
      DWORD owner = 0;
      GetWindowThreadProcessId(window, &owner);
      if (owner == processId) return window;
    }
    Sleep(50);
  }
  return nullptr;
}

}  // namespace

PluginUnderTest::PluginUnderTest() {
  const std::wstring control =
      L"\\\\.\\pipe\\korvane-simstub-" + std::to_wstring(GetCurrentProcessId());
  SetEnvironmentVariableW(L"SIMSTUB_CONTROL_PIPE", control.c_str());
  const std::wstring folder = OwnFolder();
  std::wstring commandLine = L"\"" + folder + L"KorPanels.exe\" -run";
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      folder.c_str(), &startup, &m_process)) {
    return;
  }
  m_control = ConnectControl(control, m_process.hProcess);
  if (m_control != INVALID_HANDLE_VALUE) m_window = FindPluginWindow(m_process.dwProcessId);
}

PluginUnderTest::~PluginUnderTest() {
  if (m_control != INVALID_HANDLE_VALUE) CloseHandle(m_control);
  if (!m_process.hProcess) return;
  // A test that failed before the plug-in quit ends it here, and it has ended before the
  // units it holds go and the next plug-in starts (which would find it still running).
  if (WaitForSingleObject(m_process.hProcess, 0) == WAIT_TIMEOUT) {
    TerminateProcess(m_process.hProcess, 99);
    WaitForSingleObject(m_process.hProcess, kEndPatienceMs);
  }
  CloseHandle(m_process.hThread);
  CloseHandle(m_process.hProcess);
}

std::string PluginUnderTest::Sim(std::string_view line) {
  std::string answer(kAnswerBytes, '\0');
  DWORD written = 0;
  DWORD length = 0;
  if (!WriteFile(m_control, line.data(), static_cast<DWORD>(line.size()), &written, nullptr) ||
      !ReadFile(m_control, answer.data(), kAnswerBytes, &length, nullptr)) {
    return "error: no simulator";
  }
  answer.resize(length);
  return answer;
}

milliseconds PluginUnderTest::Announce(bool arrival, const std::wstring& path) {
  return Tell(arrival ? DBT_DEVICEARRIVAL : DBT_DEVICEREMOVECOMPLETE, path);
}

milliseconds PluginUnderTest::AskRemoval(const std::wstring& path) {
  return Tell(DBT_DEVICEQUERYREMOVE, path);
}

milliseconds PluginUnderTest::Tell(WPARAM event, const std::wstring& path) {
  std::vector<std::byte> record(offsetof(DEV_BROADCAST_DEVICEINTERFACE_W, dbcc_name) +
                                (path.size() + 1) * sizeof(wchar_t));
  auto* notice = reinterpret_cast<DEV_BROADCAST_DEVICEINTERFACE_W*>(record.data());
  notice->dbcc_size = static_cast<DWORD>(record.size());
  notice->dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
  notice->dbcc_classguid = kHidInterfaceClass;
  std::memcpy(notice->dbcc_name, path.c_str(), (path.size() + 1) * sizeof(wchar_t));
  const auto start = Clock::now();
  DWORD_PTR result = 0;
  // Sent, not posted: the system refuses to post this message to another process.
  SendMessageTimeoutW(m_window, WM_DEVICECHANGE, event, reinterpret_cast<LPARAM>(notice),
                      SMTO_NORMAL, kNoticePatienceMs, &result);
  return std::chrono::duration_cast<milliseconds>(Clock::now() - start);
}

long PluginUnderTest::QuitAndWait() {
  Sim("quit");
  if (WaitForSingleObject(m_process.hProcess, 240000) != WAIT_OBJECT_0) return -1;
  DWORD exitCode = 0;
  GetExitCodeProcess(m_process.hProcess, &exitCode);
  return static_cast<long>(exitCode);
}

}  // namespace vunits
