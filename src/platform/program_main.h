#pragma once

// Each program defines its body here; the platform's entry calls it and returns its exit
// code. Arguments are read with CommandLineArguments() (process.h).
int ProgramMain();
