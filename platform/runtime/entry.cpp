#include "platform/runtime/entry.h"

#include <windows.h>
#include <commctrl.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  // Started from the context menu, the current folder is the clicked file's
  // (Downloads, say): no DLL that the shell or COM loads into this process by
  // name may come from there.
  ::SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_DEFAULT_DIRS);
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES};
  ::InitCommonControlsEx(&controls);
  return platform::ProgramMain();
}
