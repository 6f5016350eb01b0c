#include "platform/process.h"

#include <windows.h>
// Needs the Windows types first.
#include <commctrl.h>
#include <objbase.h>
#include <shellapi.h>

#include <memory>

namespace platform {

std::vector<std::wstring> CommandLineArguments() {
  int count = 0;
  LPWSTR* split = CommandLineToArgvW(GetCommandLineW(), &count);
  if (!split) return {};
  std::unique_ptr<LPWSTR, decltype(&GlobalFree)> owned(split, &GlobalFree);
  return std::vector<std::wstring>(split, split + count);
}

void DebugOutput(std::wstring_view text) {
  OutputDebugStringW(std::wstring(text).c_str());
}

ProcessSetup::ProcessSetup() {
  CoInitialize(nullptr);
  INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_BAR_CLASSES};
  InitCommonControlsEx(&controls);
}

ProcessSetup::~ProcessSetup() {
  CoUninitialize();
}

}  // namespace platform
