#include <windows.h>

#include "platform/forms/access_keys.h"
#include "platform/forms/form.h"
#include "platform/forms/form_window.h"
#include "platform/processes/process.h"

namespace platform {

namespace {

// Alt+letter, or a plain letter while the focus is on a control that takes
// no typed characters (a button or check box), as in a dialog.
bool IsAccessKey(MSG& msg) {
  if (msg.message == WM_SYSCHAR) return true;
  if (msg.message != WM_CHAR) return false;
  const LRESULT code = ::SendMessageW(msg.hwnd, WM_GETDLGCODE, msg.wParam, reinterpret_cast<LPARAM>(&msg));
  return (code & (DLGC_WANTCHARS | DLGC_WANTALLKEYS | DLGC_WANTMESSAGE)) == 0;
}

}  // namespace

void RunEventLoop(bool (*keepRunning)(const void*), const void* context) {
  MSG msg;
  while (!keepRunning || keepRunning(context)) {
    if (::GetMessageW(&msg, nullptr, 0, 0) <= 0) EndNow(0);
    // The dialog manager gives every form Tab, Shift+Tab and access keys.
    HWND root = msg.hwnd ? ::GetAncestor(msg.hwnd, GA_ROOT) : nullptr;
    if (IsFormWindow(root)) {
      if (IsAccessKey(msg) && PressAccessKey(root, static_cast<wchar_t>(msg.wParam))) continue;
      if (::IsDialogMessageW(root, &msg)) continue;
    }
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
}

}  // namespace platform
