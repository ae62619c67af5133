#include "platform/runtime/entry.h"

#include <windows.h>
#include <commctrl.h>

#include "platform/runtime/library_search.h"

static_assert(platform::kLibrarySearch == LOAD_LIBRARY_SEARCH_SYSTEM32);

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  // Started from the context menu, the current folder is the clicked file's
  // (Downloads, say), and the program's own folder may be the same: no DLL
  // that the shell or COM loads into this process by name may come from either.
  ::SetDefaultDllDirectories(platform::kLibrarySearch);
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES};
  ::InitCommonControlsEx(&controls);
  return platform::ProgramMain();
}
