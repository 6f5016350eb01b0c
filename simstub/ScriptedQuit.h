#pragma once

namespace simstub {

// A program started on its own (the plug-in under test) has no test beside it to drive
// the stand-in. With SIMSTUB_QUIT_AFTER_MS set, the simulator quits that many
// milliseconds after the client connected, first writing the call log to the file named
// by SIMSTUB_CALL_LOG when that is set.
void ScheduleScriptedQuit();

}  // namespace simstub
