#include "platform/program_main.h"

#include "platform/posix/process_arguments.h"

int main(int argc, char** argv) {
  platform::posix::SetCommandLineArguments(argc, argv);
  return ProgramMain();
}
