#pragma once

#include <windows.h>

#include <memory>

#include "platform/control_window.h"

namespace platform {

// The control window in place of a dialog's placeholder item; null when it cannot be made.
std::unique_ptr<ControlWindow> CreateControlWindow(HWND dialog, int placeholderId,
                                                   ControlHandler& handler,
                                                   const ControlArtwork& artwork);

}  // namespace platform
