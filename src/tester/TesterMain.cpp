// KorSwitchTest: shows a switch panel live and runs a lamp test on it. The exit code is 1
// after OK, 2 after Cancel or the close box, -1 when the dialog could not be made.

#include "platform/dialog.h"
#include "platform/process.h"
#include "platform/program_main.h"
#include "tester/CMainDlg.h"

int ProgramMain() {
  const platform::ProcessSetup setup;
  tester::CMainDlg dialog(platform::CommandLineArguments());
  return platform::RunModalDialog(IDD_TESTER, dialog);
}
