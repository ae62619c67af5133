// The text box's own keys: Enter belongs to it (the form decides what it
// does), Tab when the form takes it, and every key and typed character
// passes the form's KeyDown and KeyPress first; Enter passes an open
// suggestion list by.
#include "platform/forms/form_window.h"

#include <commctrl.h>

namespace platform {

bool ChangesText(int keyCode) {
  return keyCode == VK_BACK || keyCode == VK_SPACE || keyCode == VK_DELETE || keyCode >= '0';
}

int ShiftState() {
  const auto held = [](int key) { return (::GetKeyState(key) & 0x8000) != 0; };
  return (held(VK_SHIFT) ? kShiftKey : 0) | (held(VK_CONTROL) ? kCtrlKey : 0) | (held(VK_MENU) ? kAltKey : 0);
}

LRESULT CALLBACK Form::Live::TextBoxProcedure(HWND control, UINT message, WPARAM w, LPARAM l, UINT_PTR subclass,
                                              DWORD_PTR data) {
  auto* self = reinterpret_cast<Live*>(data);
  switch (message) {
    case WM_GETDLGCODE: {
      // Asked for every key before it goes to the text box. Enter belongs to
      // the text box: the dialog manager must not turn it into a
      // default-button press. With suggestions, so does Esc, which closes
      // their list. Tab goes to the form here, once, before the dialog
      // manager moves the focus with it: taken, the text box wants it.
      const auto* msg = reinterpret_cast<const MSG*>(l);
      LRESULT code = ::DefSubclassProc(control, message, w, l);
      if (!msg || msg->message != WM_KEYDOWN) return code;
      self->KeyComing(msg->wParam);
      if (msg->wParam == VK_RETURN || (msg->wParam == VK_ESCAPE && self->Suggesting())) code |= DLGC_WANTMESSAGE;
      if (msg->wParam == VK_TAB) {
        int key = VK_TAB;
        self->form_.KeyDown(::GetDlgCtrlID(control), key, ShiftState());
        if (key == 0) code |= DLGC_WANTTAB;
      }
      return code;
    }
    case WM_KEYDOWN:
    case WM_CHAR: {
      // A Tab that comes this far was taken by the form already; a one-line
      // text box has no use for its character.
      if (w == VK_TAB) return 0;
      int key = static_cast<int>(w);
      const int id = ::GetDlgCtrlID(control);
      if (message == WM_KEYDOWN) {
        // Before the text box, which would cut (Wine: delete a character).
        if (key == VK_DELETE && ShiftState() == kShiftKey && self->RemoveHighlighted(id)) return 0;
        self->form_.KeyDown(id, key, ShiftState());
      } else {
        self->form_.KeyPress(id, key);
      }
      if (key == 0 || !::IsWindow(control)) return 0;
      w = static_cast<WPARAM>(key);
      // Typing and Delete fill the suggestion list for the text they leave.
      if (!self->Suggesting() || (message == WM_KEYDOWN && key != VK_DELETE)) break;
      const LRESULT result = ::DefSubclassProc(control, message, w, l);
      self->typed_ = self->form_.Text(id);
      return result;
    }
    case WM_NCDESTROY: ::RemoveWindowSubclass(control, &Live::TextBoxProcedure, subclass); break;
  }
  return ::DefSubclassProc(control, message, w, l);
}

}  // namespace platform
