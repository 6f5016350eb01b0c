#include "platform/session_mutex.h"

#include <windows.h>

#include <string>

namespace platform {

SessionMutex::SessionMutex(std::wstring_view name) {
  const std::wstring sessionName = L"Local\\" + std::wstring(name);
  SetLastError(ERROR_SUCCESS);
  HANDLE mutex = CreateMutexW(nullptr, FALSE, sessionName.c_str());
  const DWORD error = GetLastError();
  // A holder running with other rights makes the open fail as denied: it exists all the same.
  first_ = error != ERROR_ALREADY_EXISTS && !(mutex == nullptr && error == ERROR_ACCESS_DENIED);
  if (mutex && !first_) {
    CloseHandle(mutex);
    return;
  }
  if (mutex) held_ = reinterpret_cast<std::intptr_t>(mutex);
}

SessionMutex::~SessionMutex() {
  if (held_ != -1) CloseHandle(reinterpret_cast<HANDLE>(held_));
}

}  // namespace platform
