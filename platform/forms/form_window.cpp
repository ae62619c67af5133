#include "platform/forms/form_window.h"

#include "platform/runtime_error.h"
#include "platform/text.h"

namespace platform {

namespace {

void RegisterFormClass(WNDPROC procedure) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = procedure;
  wc.hInstance = Instance();
  wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = kFormClass;
  ::RegisterClassExW(&wc);  // fails harmlessly once the class exists
}

bool HasLinkLabel(const FormLayout& layout) {
  for (const Control& c : layout.controls)
    if (c.kind == ControlKind::LinkLabel) return true;
  return false;
}

// A high-contrast theme chooses every text colour itself.
bool HighContrastOn() {
  HIGHCONTRASTW setting{};
  setting.cbSize = sizeof setting;
  return ::SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof setting, &setting, 0) &&
         (setting.dwFlags & HCF_HIGHCONTRASTON);
}

bool IsEdit(HWND control) {
  wchar_t name[16];
  return ::GetClassNameW(control, name, 16) && _wcsicmp(name, L"Edit") == 0;
}

}  // namespace

HINSTANCE Instance() { return ::GetModuleHandleW(nullptr); }

// Asked for every message the event loop takes: the window procedure is read
// from the window itself, where a class name is an atom the system looks up.
bool IsFormWindow(HWND hwnd) {
  return hwnd && ::GetWindowLongPtrW(hwnd, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(&Form::Live::Procedure);
}

Form* Form::FromWindow(HWND hwnd) {
  if (!IsFormWindow(hwnd)) return nullptr;
  auto* live = reinterpret_cast<Form::Live*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  return live ? &live->form_ : nullptr;
}

Form::Live::Live(Form& form, HWND owner) : form_(form) {
  const FormLayout& layout = form.layout_;
  if (HasLinkLabel(layout)) linkLabel_ = LinkLabelLibrary::Load();
  RegisterFormClass(&Live::Procedure);
  style_ = WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN |
           (layout.border == Border::FixedDialog ? WS_POPUP | WS_DLGFRAME : WS_OVERLAPPED | WS_BORDER);
  exStyle_ = WS_EX_CONTROLPARENT | (layout.border == Border::FixedDialog ? WS_EX_DLGMODALFRAME : 0) |
             (layout.showInTaskbar ? WS_EX_APPWINDOW : 0) | (layout.acceptsFiles ? WS_EX_ACCEPTFILES : 0);
  // An owned form starts on its owner's monitor (the one holding most of
  // it, whose DPI the owner has), so that it gets that DPI from its birth.
  POINT at{CW_USEDEFAULT, CW_USEDEFAULT};
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  if (owner && ::GetMonitorInfoW(::MonitorFromWindow(owner, MONITOR_DEFAULTTONEAREST), &monitor))
    at = {monitor.rcWork.left, monitor.rcWork.top};
  HMENU menu = BuildMenu(layout.menu);
  if (!::CreateWindowExW(exStyle_, kFormClass, layout.caption, style_, at.x, at.y, CW_USEDEFAULT, CW_USEDEFAULT, owner,
                         menu, Instance(), this)) {
    hwnd_ = nullptr;
    if (menu) ::DestroyMenu(menu);
    Raise(RunTimeError(kOutOfMemory, Filled("Das Fenster \"\1\" konnte nicht erstellt werden.", {layout.caption})));
  }
  dpi_ = static_cast<int>(::GetDpiForWindow(hwnd_));
  if (!CreateControls()) {
    // Nothing of a half-made form stays behind: its window would point at
    // this object, which the error is about to end.
    Destroy();
    Raise(RunTimeError(kComponentMissing, Widened("Das Steuerelement konnte nicht erstellt werden.")));
  }
  ApplyFonts();
  if (layout.acceptsFiles) AcceptFiles();
  SetIcons();
  SizeAndCentre();
}

Form::Live::~Live() { Destroy(); }

void Form::Live::Destroy() {
  if (!hwnd_) return;
  ::SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
  ::DestroyWindow(hwnd_);
  hwnd_ = nullptr;
}

void Form::Live::FocusFirstTabStop() {
  if (HWND first = ::GetNextDlgTabItem(hwnd_, nullptr, FALSE)) Focus(first);
}

void Form::Live::Focus(HWND control) {
  ::SetFocus(control);
  if (IsEdit(control)) {
    // The caret goes behind the text: parameters are typed after it.
    const int end = ::GetWindowTextLengthW(control);
    ::SendMessageW(control, EM_SETSEL, end, end);
  }
}

LRESULT Form::Live::Handle(UINT message, WPARAM w, LPARAM l) {
  switch (message) {
    case WM_COMMAND:
      if (l == 0 || HIWORD(w) == BN_CLICKED) form_.Click(LOWORD(w));
      return 0;
    case WM_CLOSE: form_.CloseBox(); return 0;
    case WM_ACTIVATE: return OnActivate(LOWORD(w));
    case WM_SETFOCUS:
      if (lastFocus_ && ::IsWindow(lastFocus_))
        ::SetFocus(lastFocus_);
      else
        FocusFirstTabStop();
      return 0;
    case WM_DROPFILES: return OnDropFiles(reinterpret_cast<HDROP>(w));
    case DM_GETDEFID: return DefaultButton();
    case WM_CTLCOLORSTATIC: return OnControlColour(reinterpret_cast<HDC>(w), reinterpret_cast<HWND>(l));
    // Only top-level windows hear that the system's colours or settings
    // changed (a high-contrast theme switched on or off); the controls need
    // to know too.
    case WM_SYSCOLORCHANGE:
    case WM_SETTINGCHANGE:
      for (HWND c = ::GetWindow(hwnd_, GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT)) ::SendMessageW(c, message, w, l);
      return ::DefWindowProcW(hwnd_, message, w, l);
    case WM_DPICHANGED: return OnDpiChanged(HIWORD(w), *reinterpret_cast<const RECT*>(l));
    case WM_GETDPISCALEDSIZE: return OnGetDpiScaledSize(static_cast<int>(w), *reinterpret_cast<SIZE*>(l));
    default: return ::DefWindowProcW(hwnd_, message, w, l);
  }
}

// Enter presses the push button that has the focus, as in a dialog; with
// the focus elsewhere the form has no default button.
LRESULT Form::Live::DefaultButton() const {
  HWND focus = ::GetFocus();
  if (!focus || !::IsChild(hwnd_, focus)) return 0;
  if (!(::SendMessageW(focus, WM_GETDLGCODE, 0, 0) & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON))) return 0;
  return MAKELRESULT(::GetDlgCtrlID(focus), DC_HASDEFID);
}

// Keeps the focused control across deactivation, as dialogs do, so that the
// focus is back in the text box after a message or a dialog closes.
LRESULT Form::Live::OnActivate(WORD state) {
  if (state == WA_INACTIVE) {
    HWND focus = ::GetFocus();
    if (focus && ::IsChild(hwnd_, focus)) lastFocus_ = focus;
  } else if (lastFocus_ && ::IsWindow(lastFocus_)) {
    ::SetFocus(lastFocus_);
  } else {
    FocusFirstTabStop();
  }
  return 0;
}

LRESULT Form::Live::OnControlColour(HDC dc, HWND control) {
  const Control* entry = ControlEntry(::GetDlgCtrlID(control));
  if (entry && entry->colour != kNoColour && entry->kind == ControlKind::Label && !HighContrastOn()) {
    ::SetTextColor(dc, entry->colour);
  }
  ::SetBkColor(dc, ::GetSysColor(COLOR_BTNFACE));
  return reinterpret_cast<LRESULT>(::GetSysColorBrush(COLOR_BTNFACE));
}

LRESULT CALLBACK Form::Live::Procedure(HWND hwnd, UINT message, WPARAM w, LPARAM l) {
  if (message == WM_NCCREATE) {
    auto* self = static_cast<Live*>(reinterpret_cast<CREATESTRUCTW*>(l)->lpCreateParams);
    self->hwnd_ = hwnd;
    ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<Live*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!self) return ::DefWindowProcW(hwnd, message, w, l);
  return self->Handle(message, w, l);
}

}  // namespace platform
