// The text box's own keys: Enter belongs to it (the form decides what it
// does), and every key and typed character passes the form's KeyDown and
// KeyPress first.
#include "platform/forms/form_window.h"

#include <commctrl.h>

namespace platform {

int ShiftState() {
  const auto held = [](int key) { return (::GetKeyState(key) & 0x8000) != 0; };
  return (held(VK_SHIFT) ? kShiftKey : 0) | (held(VK_CONTROL) ? kCtrlKey : 0) | (held(VK_MENU) ? kAltKey : 0);
}

LRESULT CALLBACK Form::Live::TextBoxProcedure(HWND control, UINT message, WPARAM w, LPARAM l, UINT_PTR subclass,
                                              DWORD_PTR data) {
  auto* self = reinterpret_cast<Live*>(data);
  switch (message) {
    case WM_GETDLGCODE: {
      // Enter belongs to the text box: the dialog manager must not turn it
      // into a default-button press.
      const auto* msg = reinterpret_cast<const MSG*>(l);
      LRESULT code = ::DefSubclassProc(control, message, w, l);
      if (msg && msg->message == WM_KEYDOWN && msg->wParam == VK_RETURN) code |= DLGC_WANTMESSAGE;
      return code;
    }
    case WM_KEYDOWN: {
      int key = static_cast<int>(w);
      const int id = ::GetDlgCtrlID(control);
      self->form_.KeyDown(id, key, ShiftState());
      if (key == 0 || !::IsWindow(control)) return 0;
      return ::DefSubclassProc(control, message, static_cast<WPARAM>(key), l);
    }
    case WM_CHAR: {
      int key = static_cast<int>(w);
      const int id = ::GetDlgCtrlID(control);
      self->form_.KeyPress(id, key);
      if (key == 0 || !::IsWindow(control)) return 0;
      return ::DefSubclassProc(control, message, static_cast<WPARAM>(key), l);
    }
    case WM_NCDESTROY: ::RemoveWindowSubclass(control, &Live::TextBoxProcedure, subclass); break;
  }
  return ::DefSubclassProc(control, message, w, l);
}

}  // namespace platform
