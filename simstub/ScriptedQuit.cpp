#include "simstub/ScriptedQuit.h"

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <thread>

#include "simstub/SimStub.h"

namespace simstub {

void ScheduleScriptedQuit() {
  const char* delay = std::getenv("SIMSTUB_QUIT_AFTER_MS");
  if (delay == nullptr) return;
  std::thread([milliseconds = std::atoi(delay)] {
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
    if (const char* logPath = std::getenv("SIMSTUB_CALL_LOG")) {
      std::ofstream log(logPath, std::ios::binary);
      for (const std::string& line : CallLog()) log << line << '\n';
    }
    Quit();
  }).detach();
}

}  // namespace simstub
