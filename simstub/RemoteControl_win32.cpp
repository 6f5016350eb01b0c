#include <windows.h>

#include <cstdlib>
#include <string>
#include <thread>

#include "simstub/RemoteCommands.h"
#include "simstub/RemoteControl.h"

namespace simstub {
namespace {

constexpr DWORD kMessageBytes = 64 * 1024;

// One controller at a time, one request and one answer in turn, for as long as the process
// lives: the controller reconnects if it must.
void Serve(const std::wstring& pipeName) {
  std::string request(kMessageBytes, '\0');
  for (;;) {
    HANDLE pipe = CreateNamedPipeW(pipeName.c_str(), PIPE_ACCESS_DUPLEX,
                                   PIPE_TYPE_MESSAGE | PIPE_READMODE_MESSAGE | PIPE_WAIT, 1,
                                   kMessageBytes, kMessageBytes, 0, nullptr);
    if (pipe == INVALID_HANDLE_VALUE) return;
    if (ConnectNamedPipe(pipe, nullptr) || GetLastError() == ERROR_PIPE_CONNECTED) {
      DWORD length = 0;
      while (ReadFile(pipe, request.data(), kMessageBytes, &length, nullptr)) {
        const std::string answer = RunRemoteCommand(std::string_view(request.data(), length));
        DWORD written = 0;
        if (!WriteFile(pipe, answer.data(), static_cast<DWORD>(answer.size()), &written, nullptr)) {
          break;
        }
      }
    }
    DisconnectNamedPipe(pipe);
    CloseHandle(pipe);
  }
}

}  // namespace

void ServeRemoteControl() {
  static bool serving = false;
  const wchar_t* name = _wgetenv(L"SIMSTUB_CONTROL_PIPE");
  if (name == nullptr || serving) return;
  serving = true;
  std::thread(Serve, std::wstring(name)).detach();
}

}  // namespace simstub
