#pragma once

#include <windows.h>

namespace vunits {

// Runs one overlapped operation on a handle and waits for it, or for `abandon`, whichever
// comes first. An abandoned operation is cancelled and has ended when this returns. True
// when the operation succeeded; `transferred` holds its byte count.
template <typename Start>
bool RunOverlapped(HANDLE handle, HANDLE abandon, DWORD& transferred, Start start) {
  OVERLAPPED overlapped{};
  overlapped.hEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  if (!overlapped.hEvent) return false;
  transferred = 0;
  bool done = false;
  if (start(overlapped)) {
    done = GetOverlappedResult(handle, &overlapped, &transferred, TRUE);
  } else if (GetLastError() == ERROR_PIPE_CONNECTED) {
    done = true;
  } else if (GetLastError() == ERROR_IO_PENDING) {
    const HANDLE waits[] = {overlapped.hEvent, abandon};
    const bool abandoned = WaitForMultipleObjects(2, waits, FALSE, INFINITE) != WAIT_OBJECT_0;
    if (abandoned) CancelIo(handle);
    done = GetOverlappedResult(handle, &overlapped, &transferred, TRUE) && !abandoned;
  }
  CloseHandle(overlapped.hEvent);
  return done;
}

}  // namespace vunits
