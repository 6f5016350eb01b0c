#include "eventlog/ProcessLog.h"
#include "host/CCommandLine.h"
#include "host/CMainDlg.h"
#include "host/SessionLog.h"
#include "platform/process.h"
#include "platform/program_main.h"
#include "platform/window.h"

// Installs, uninstalls, or runs the hidden main window until the simulator quits. Without
// a simulator the window is refused and the process ends quietly with 0.
int ProgramMain() {
  const eventlog::ProcessLog log;
  platform::ProcessSetup setup;
  CCommandLine commandLine;
  if (!commandLine.RunCommandLine()) return host::LogExit(0);
  CMainDlg mainDlg;
  if (!mainDlg.Create()) return host::LogExit(0);
  return host::LogExit(platform::RunMessageLoop());
}
