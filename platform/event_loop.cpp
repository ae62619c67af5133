#include <windows.h>

#include "platform/access_keys.h"
#include "platform/form.h"
#include "platform/form_window.h"
#include "platform/process.h"

namespace platform {

void RunEventLoop(bool (*keepRunning)(const void*), const void* context) {
  MSG msg;
  while (!keepRunning || keepRunning(context)) {
    if (::GetMessageW(&msg, nullptr, 0, 0) <= 0) EndNow(0);
    // The dialog manager gives every form Tab, Shift+Tab and access keys.
    HWND root = msg.hwnd ? ::GetAncestor(msg.hwnd, GA_ROOT) : nullptr;
    if (IsFormWindow(root)) {
      if (msg.message == WM_SYSCHAR && PressAccessKey(root, static_cast<wchar_t>(msg.wParam))) continue;
      if (::IsDialogMessageW(root, &msg)) continue;
    }
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
}

}  // namespace platform
