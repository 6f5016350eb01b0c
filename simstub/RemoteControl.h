#pragma once

namespace simstub {

// A plug-in started as a process of its own has no test beside it to drive the stand-in.
// With SIMSTUB_CONTROL_PIPE set, a thread serves that named pipe: each message is a line
// for RunRemoteCommand, answered by one message. Linux tests drive the stand-in in-process
// and have no use for it.
void ServeRemoteControl();

}  // namespace simstub
