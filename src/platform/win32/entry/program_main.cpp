#include "platform/program_main.h"

#include <windows.h>

// The GUI entry of a -municode -mwindows program: no console ever appears. The command
// line is read afresh by the program, and nothing is shown, so the other arguments go
// unused.
extern "C" int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  return ProgramMain();
}
