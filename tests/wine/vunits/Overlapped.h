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

// One overlapped operation that runs while its thread waits for other things too. Its event
// is signalled once it has ended, also when it ended at once. Ended when destroyed.
class PendingOperation {
 public:
  explicit PendingOperation(HANDLE handle) : m_handle(handle) {
    m_overlapped.hEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  }
  ~PendingOperation() {
    Cancel();
    CloseHandle(m_overlapped.hEvent);
  }
  PendingOperation(const PendingOperation&) = delete;
  PendingOperation& operator=(const PendingOperation&) = delete;

  template <typename Start>
  void Begin(Start start) {
    ResetEvent(m_overlapped.hEvent);
    m_pending = !start(m_overlapped) && GetLastError() == ERROR_IO_PENDING;
    // Ended at once, well or not: a failed start leaves the event as it was.
    if (!m_pending) {
      m_result = m_overlapped.Internal == STATUS_PENDING ? GetLastError() : Result();
      SetEvent(m_overlapped.hEvent);
    }
  }
  HANDLE Ended() const { return m_overlapped.hEvent; }
  // Waits for the end; ERROR_SUCCESS, or the error it ended with.
  DWORD Finish() {
    if (m_pending) {
      m_pending = false;
      m_result = Result();
    }
    return m_result;
  }
  DWORD Cancel() {
    if (m_pending) CancelIoEx(m_handle, &m_overlapped);
    return Finish();
  }

 private:
  DWORD Result() {
    DWORD transferred = 0;
    return GetOverlappedResult(m_handle, &m_overlapped, &transferred, TRUE) ? ERROR_SUCCESS
                                                                            : GetLastError();
  }

  HANDLE m_handle;
  OVERLAPPED m_overlapped{};
  bool m_pending = false;
  DWORD m_result = ERROR_SUCCESS;
};

}  // namespace vunits
