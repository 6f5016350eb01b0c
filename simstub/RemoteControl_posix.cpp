#include "simstub/RemoteControl.h"

namespace simstub {

void ServeRemoteControl() {}

}  // namespace simstub
