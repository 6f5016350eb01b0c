#include "platform/posix/process_arguments.h"
#include "platform/program_main.h"

int main(int argc, char** argv) {
  platform::posix::SetCommandLineArguments(argc, argv);
  return ProgramMain();
}
