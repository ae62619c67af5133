// Helps the run script show Vorlind on a screen nobody watches:
//   window_tool wait <caption> [milliseconds]   waits until the window is visible
//   window_tool close <caption>                 asks the window to close
//   window_tool command <caption> <id>          chooses a menu entry by its id
#include <windows.h>

#include <cwchar>

int wmain(int argc, wchar_t** argv) {
  if (argc < 3) return 2;
  const wchar_t* caption = argv[2];
  if (std::wcscmp(argv[1], L"wait") == 0) {
    const DWORD limit = argc > 3 ? static_cast<DWORD>(std::wcstoul(argv[3], nullptr, 10)) : 30000;
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < limit) {
      HWND window = FindWindowW(nullptr, caption);
      if (window && IsWindowVisible(window)) return 0;
      Sleep(50);
    }
    return 1;
  }
  if (std::wcscmp(argv[1], L"close") == 0) {
    HWND window = FindWindowW(nullptr, caption);
    return window && PostMessageW(window, WM_CLOSE, 0, 0) ? 0 : 1;
  }
  if (std::wcscmp(argv[1], L"command") == 0 && argc > 3) {
    HWND window = FindWindowW(nullptr, caption);
    const auto id = static_cast<WPARAM>(std::wcstoul(argv[3], nullptr, 10));
    return window && PostMessageW(window, WM_COMMAND, id, 0) ? 0 : 1;
  }
  return 2;
}
