#include "eventlog/ProcessLog.h"
#include "host/CCommandLine.h"
#include "host/CMainDlg.h"
#include "host/SessionLog.h"
#include "platform/process.h"
#include "platform/program_main.h"
#include "platform/session_mutex.h"
#include "platform/window.h"

// Installs, uninstalls, or runs the hidden main window until the simulator quits. Without
// a simulator, or with another plug-in running in the session, the process ends quietly
// with 0.
int ProgramMain() {
  const eventlog::ProcessLog log;
  platform::ProcessSetup setup;
  CCommandLine commandLine;
  if (!commandLine.RunCommandLine()) return host::LogExit(0);
  // A second plug-in would open the same panels and send every switch movement twice; a
  // toggle sent twice undoes itself. Held until the process ends.
  const platform::SessionMutex onePlugin(L"Korvane.KorPanels.Plugin");
  if (!onePlugin.IsFirst()) {
    host::LogSecondInstanceRefused();
    return host::LogExit(0);
  }
  CMainDlg mainDlg;
  if (!mainDlg.Create()) return host::LogExit(0);
  return host::LogExit(platform::RunMessageLoop());
}
