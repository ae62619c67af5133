#include "platform/entry.h"

#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include "platform/runtime_error_report.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  // The shell's open action, used for shortcuts, wants COM on this thread.
  const HRESULT com = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES};
  ::InitCommonControlsEx(&controls);
  const int code = platform::Guarded([] { return platform::ProgramMain(); });
  if (SUCCEEDED(com)) ::CoUninitialize();
  return code;
}
