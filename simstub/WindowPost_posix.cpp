#include "platform/posix/window_abi.h"
#include "simstub/WindowPost.h"

namespace simstub {

void PostToWindow(simconnect::WindowHandle window, simconnect::Dword message) {
  auto* target = static_cast<KorPosixWindowAbi*>(window);
  target->post(target, message, 0, 0);
}

}  // namespace simstub
