#include "TesterUnderTest.h"

#include <chrono>
#include <vector>

#include "ProgramFolder.h"

namespace vunits {
namespace {

using Clock = std::chrono::steady_clock;

// Generous: under emulation a process start alone takes most of a minute.
constexpr auto kStartPatience = std::chrono::seconds(240);
constexpr DWORD kEndPatienceMs = 60000;
constexpr int kPicture = 1000;

struct Search {
  DWORD processId;
  HWND found;
};

BOOL CALLBACK MatchDialog(HWND window, LPARAM parameter) {
  auto& search = *reinterpret_cast<Search*>(parameter);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  wchar_t title[64] = {};
  GetWindowTextW(window, title, 64);
  if (owner != search.processId || std::wstring(title) != L"Korvane Aerotrak Switch Panel" ||
      !GetDlgItem(window, kPicture)) {
    return TRUE;
  }
  search.found = window;
  return FALSE;
}

HWND FindDialog(DWORD processId, HANDLE process) {
  const auto deadline = Clock::now() + kStartPatience;
  while (Clock::now() < deadline && WaitForSingleObject(process, 0) == WAIT_TIMEOUT) {
    Search search{processId, nullptr};
    EnumWindows(MatchDialog, reinterpret_cast<LPARAM>(&search));
    if (search.found) return search.found;
    Sleep(50);
  }
  return nullptr;
}

}  // namespace

TesterUnderTest::TesterUnderTest(const std::wstring& arguments) {
  const std::wstring folder = OwnFolder();
  std::wstring commandLine = L"\"" + folder + L"KorSwitchTest.exe\" " + arguments;
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      folder.c_str(), &startup, &m_process)) {
    return;
  }
  m_dialog = FindDialog(m_process.dwProcessId, m_process.hProcess);
}

TesterUnderTest::~TesterUnderTest() {
  if (!m_process.hProcess) return;
  if (WaitForSingleObject(m_process.hProcess, 0) == WAIT_TIMEOUT) {
    TerminateProcess(m_process.hProcess, 99);
  }
  CloseHandle(m_process.hThread);
  CloseHandle(m_process.hProcess);
}

POINT TesterUnderTest::PictureOrigin() const {
  POINT origin{0, 0};
  ClientToScreen(GetDlgItem(m_dialog, kPicture), &origin);
  return origin;
}

long TesterUnderTest::CloseWith(UINT message, WPARAM wParam) {
  PostMessageW(m_dialog, message, wParam, 0);
  if (WaitForSingleObject(m_process.hProcess, kEndPatienceMs) != WAIT_OBJECT_0) return -1;
  DWORD exitCode = 0;
  GetExitCodeProcess(m_process.hProcess, &exitCode);
  return static_cast<long>(exitCode);
}

}  // namespace vunits
