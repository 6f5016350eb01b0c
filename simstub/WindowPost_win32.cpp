#include <windows.h>

#include "simstub/WindowPost.h"

namespace simstub {

void PostToWindow(simconnect::WindowHandle window, simconnect::Dword message) {
  PostMessageW(static_cast<HWND>(window), message, 0, 0);
}

}  // namespace simstub
