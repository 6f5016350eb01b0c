#pragma once

// A modal dialog made from one of the program's dialog templates.

#include <cstdint>
#include <memory>

#include "platform/control_window.h"
#include "platform/window.h"

namespace platform {

// The running dialog, as its handler sees it.
class Dialog {
 public:
  virtual WindowHandle Handle() const = 0;
  // Over its owner; over the work area when it has none or the owner is hidden or
  // minimised. Kept inside the work area either way.
  virtual void Centre() = 0;
  // The program's icon group as the large and the small icon.
  virtual void SetIcons(std::uint16_t iconGroupId) = 0;
  // A control window in the place, and with the id, of the placeholder item, which goes;
  // null when it cannot be made.
  virtual std::unique_ptr<ControlWindow> ReplaceWithControl(int placeholderId,
                                                            ControlHandler& handler,
                                                            const ControlArtwork& artwork) = 0;
  // The dialog closes once the current message is handled; RunModalDialog returns `result`.
  virtual void End(int result) = 0;

 protected:
  ~Dialog() = default;
};

// Called on the dialog's thread. Every other message gets the default dialog handling.
class DialogHandler {
 public:
  virtual void OnInitDialog(Dialog& dialog) = 0;
  // `record` is null when the message carries none.
  virtual void OnDeviceChange(std::uint32_t event, const DeviceBroadcast* record) = 0;
  // A command from the item with this id, whatever its notification code.
  virtual void OnCommand(Dialog& dialog, int itemId) = 0;

 protected:
  ~DialogHandler() = default;
};

// Runs the dialog of the template modally, owned by the window active now; what End was
// given, or -1 when the dialog could not be made.
int RunModalDialog(std::uint16_t templateId, DialogHandler& handler);

}  // namespace platform
