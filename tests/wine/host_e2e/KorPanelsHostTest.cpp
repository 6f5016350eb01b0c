// The plug-in's window as the process entry will run it, with the stand-in simulator in
// place of the real one: once the window is set up, the simulator starts a flight and
// quits at once. What the plug-in asked of the simulator on the way goes to stdout.

#include <cstdio>
#include <string>

#include "host/CMainDlg.h"
#include "platform/window.h"
#include "simstub/SimStub.h"

namespace {

void PrintCallLog() {
  for (const std::string& call : simstub::CallLog()) std::printf("%s\n", call.c_str());
}

}  // namespace

// Exit codes besides the loop's: the window refused creation, or there was no window at all
// (the simulator was never asked to connect: the window system itself failed).
constexpr int kRefused = 2;
constexpr int kNoWindow = 3;

int main() {
  CMainDlg window;
  if (!window.Create()) {
    PrintCallLog();
    std::puts("window creation refused");
    return simstub::CallLog().empty() ? kNoWindow : kRefused;
  }
  simstub::FireSystemEvent("SimStart");
  simstub::Quit();
  const int exitCode = platform::RunMessageLoop();
  PrintCallLog();
  std::printf("message loop ended with %d\n", exitCode);
  return exitCode;
}
