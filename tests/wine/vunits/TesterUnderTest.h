#pragma once

#include <windows.h>

#include <string>

namespace vunits {

// The tester, KorSwitchTest.exe from this program's folder, started with the arguments
// given, until its dialog is up.
class TesterUnderTest {
 public:
  explicit TesterUnderTest(const std::wstring& arguments);
  // Ends the process if it still runs.
  ~TesterUnderTest();
  TesterUnderTest(const TesterUnderTest&) = delete;
  TesterUnderTest& operator=(const TesterUnderTest&) = delete;

  bool Started() const { return m_dialog != nullptr; }
  HWND Dialog() const { return m_dialog; }
  // Where the picture's top-left pixel is on the screen.
  POINT PictureOrigin() const;
  // Posts the message to the dialog and waits for the process; its exit code, or -1 when
  // it did not end in time.
  long CloseWith(UINT message, WPARAM wParam);

 private:
  PROCESS_INFORMATION m_process{};
  HWND m_dialog = nullptr;
};

}  // namespace vunits
