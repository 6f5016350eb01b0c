#pragma once

// On Linux a window handle is the address of a window object that begins with this
// record, so that a separately loaded library (the stand-in simulator) can post to the
// window's queue without sharing any other code with the program.

#include <cstdint>

extern "C" {

struct KorPosixWindowAbi {
  void (*post)(KorPosixWindowAbi* window, std::uint32_t message, std::uintptr_t wParam,
               std::intptr_t lParam);
};
}
