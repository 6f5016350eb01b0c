#include "host/CCommandLine.h"
#include "host/CMainDlg.h"
#include "platform/process.h"
#include "platform/program_main.h"
#include "platform/window.h"

// Installs, uninstalls, or runs the hidden main window until the simulator quits. Without
// a simulator the window is refused and the process ends quietly with 0.
int ProgramMain() {
  platform::ProcessSetup setup;
  CCommandLine commandLine;
  if (!commandLine.RunCommandLine()) return 0;
  CMainDlg mainDlg;
  if (!mainDlg.Create()) return 0;
  return platform::RunMessageLoop();
}
