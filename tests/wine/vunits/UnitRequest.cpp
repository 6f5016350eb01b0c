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
  // Until a handle first asks, the peer cannot tell it from the reader and offers it input
  // reports; one offered as the request went out is read here in place of the answer. A
  // report starts with its id, 0, an answer with its status, never 0: the report is passed
  // over, and the peer offers it again to the reader.
  do {
    if (!ReadFile(unit, answer.data(), static_cast<DWORD>(answer.size()), &answerLength, nullptr)) {
      return false;
    }
  } while (answerLength > 0 && answer[0] == 0);
  return true;
}

}  // namespace vunits
