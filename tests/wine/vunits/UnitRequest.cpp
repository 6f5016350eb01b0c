#include "UnitRequest.h"

namespace vunits {

bool Exchange(HANDLE unit, std::span<const std::uint8_t> request, std::span<std::uint8_t> answer,
              DWORD& answerLength) {
  // The program opened the path as a plain file; requests and answers are messages.
  DWORD mode = PIPE_READMODE_MESSAGE;
  SetNamedPipeHandleState(unit, &mode, nullptr, nullptr);
  DWORD written = 0;
  if (!WriteFile(unit, request.data(), static_cast<DWORD>(request.size()), &written, nullptr)) {
    return false;
  }
  return ReadFile(unit, answer.data(), static_cast<DWORD>(answer.size()), &answerLength, nullptr);
}

}  // namespace vunits
