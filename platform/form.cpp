#include "platform/form.h"

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <vector>

#include "platform/handles.h"
#include "platform/link_label_host.h"
#include "platform/process.h"
#include "platform/runtime_error_report.h"
#include "platform/twips.h"

namespace platform {

namespace {

constexpr wchar_t kFormClass[] = L"VorlindForm";
constexpr UINT_PTR kTextBoxSubclass = 1;

HINSTANCE Instance() { return ::GetModuleHandleW(nullptr); }

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

bool IsFormWindow(HWND hwnd) {
  wchar_t name[32];
  return hwnd && ::GetClassNameW(hwnd, name, 32) && std::wstring_view(name) == kFormClass;
}

struct ControlClass {
  const wchar_t* name;
  DWORD style;
  DWORD exStyle;
};

ControlClass ClassFor(const Control& c) {
  switch (c.kind) {
    case ControlKind::Label:
      return {L"Static", DWORD(c.align == Align::Centre ? SS_CENTER : SS_LEFT), 0};
    case ControlKind::TextBox:
      return {L"Edit", WS_TABSTOP | ES_AUTOHSCROLL | ES_LEFT, WS_EX_CLIENTEDGE};
    case ControlKind::PushButton:
      return {L"Button", WS_TABSTOP | BS_PUSHBUTTON, 0};
    case ControlKind::CheckBox:
      return {L"Button", WS_TABSTOP | BS_AUTOCHECKBOX, 0};
    case ControlKind::LinkLabel:
      return {kLinkLabelClass, WS_TABSTOP, 0};
  }
  return {L"Static", 0, 0};
}

UniqueFont CreateFontAt(const Font& font, int dpi) {
  return UniqueFont(::CreateFontW(-PointsToPixels(font.points, dpi), 0, 0, 0, font.weight, FALSE,
                                  font.underline, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                                  CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                                  font.face));
}

wchar_t Upper(wchar_t c) {
  ::CharUpperBuffW(&c, 1);
  return c;
}

wchar_t AccessKeyOf(HWND control) {
  wchar_t caption[256];
  const int n = ::GetWindowTextW(control, caption, 256);
  for (int i = 0; i + 1 < n; ++i) {
    if (caption[i] != L'&') continue;
    if (caption[i + 1] != L'&') return Upper(caption[i + 1]);
    ++i;  // "&&" is a literal ampersand
  }
  return 0;
}

bool IsPushButton(HWND control) {
  return (::SendMessageW(control, WM_GETDLGCODE, 0, 0) & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON)) != 0;
}

// Alt+letter on a form. A unique access key presses its button or check box.
// When several controls share one, a push button wins: the command is what
// the key is for, and the check box stays reachable by Tab and Space.
bool PressAccessKey(HWND form, wchar_t letter) {
  const wchar_t key = Upper(letter);
  std::vector<HWND> matches;
  for (HWND c = ::GetWindow(form, GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT)) {
    if (::IsWindowVisible(c) && ::IsWindowEnabled(c) && AccessKeyOf(c) == key &&
        ((::SendMessageW(c, WM_GETDLGCODE, 0, 0) & DLGC_BUTTON) != 0 || IsPushButton(c)))
      matches.push_back(c);
  }
  if (matches.size() > 1) {
    const auto button = std::find_if(matches.begin(), matches.end(), IsPushButton);
    if (button == matches.end()) return false;  // the dialog manager cycles through them
    matches = {*button};
  }
  if (matches.empty()) return false;
  ::SetFocus(matches.front());
  ::SendMessageW(matches.front(), BM_CLICK, 0, 0);
  return true;
}

}  // namespace

// The live window of a loaded form: its handle, controls and fonts at the
// window's DPI. Destroying it unloads the form.
class Form::Live {
 public:
  Live(Form& form, HWND owner) : form_(form) {
    const FormLayout& layout = form.layout_;
    if (HasLinkLabel(layout)) linkLabel_ = LinkLabelLibrary::Load();
    RegisterFormClass(&Live::Procedure);
    style_ = WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN |
             (layout.border == Border::FixedDialog ? WS_POPUP | WS_DLGFRAME : WS_OVERLAPPED | WS_BORDER);
    exStyle_ = WS_EX_CONTROLPARENT | (layout.border == Border::FixedDialog ? WS_EX_DLGMODALFRAME : 0) |
               (layout.showInTaskbar ? WS_EX_APPWINDOW : 0);
    HMENU menu = BuildMenu(layout.menu);
    ::CreateWindowExW(exStyle_, kFormClass, layout.caption, style_, CW_USEDEFAULT, CW_USEDEFAULT,
                      CW_USEDEFAULT, CW_USEDEFAULT, owner, menu, Instance(), this);
    if (!hwnd_) {
      if (menu) ::DestroyMenu(menu);
      throw RunTimeError(7, L"Das Fenster \"" + std::wstring(layout.caption) + L"\" konnte nicht erstellt werden.");
    }
    if (layout.iconResource) SetIcons(layout.iconResource);
    CreateControls();
    dpi_ = ::GetDpiForWindow(hwnd_);
    ApplyDpi();
    CentreOnWorkArea();
  }

  ~Live() {
    if (hwnd_) {
      ::SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
      ::DestroyWindow(hwnd_);
    }
  }

  HWND Handle() const { return hwnd_; }
  int Dpi() const { return dpi_; }

  HWND ControlWindow(int id) const { return ::GetDlgItem(hwnd_, id); }

  void FocusFirstTabStop() {
    if (HWND first = ::GetNextDlgTabItem(hwnd_, nullptr, FALSE)) Focus(first);
  }

  void Focus(HWND control) {
    ::SetFocus(control);
    if (IsEdit(control)) {
      // The caret goes behind the text: parameters are typed after it.
      const int end = ::GetWindowTextLengthW(control);
      ::SendMessageW(control, EM_SETSEL, end, end);
    }
  }

 private:
  void SetIcons(int resource) {
    // The big icon for Alt+Tab and the task bar, the small one for the caption.
    const int dpi = static_cast<int>(::GetDpiForWindow(hwnd_));
    const std::pair<WPARAM, int> icons[] = {{ICON_BIG, SM_CXICON}, {ICON_SMALL, SM_CXSMICON}};
    for (const auto& [which, metric] : icons) {
      const int size = ::GetSystemMetricsForDpi(metric, dpi);
      const auto icon = static_cast<HICON>(
          ::LoadImageW(Instance(), MAKEINTRESOURCEW(resource), IMAGE_ICON, size, size, LR_SHARED));
      ::SendMessageW(hwnd_, WM_SETICON, which, reinterpret_cast<LPARAM>(icon));
    }
  }

  static bool HasLinkLabel(const FormLayout& layout) {
    return std::any_of(layout.controls.begin(), layout.controls.end(),
                       [](const Control& c) { return c.kind == ControlKind::LinkLabel; });
  }

  static bool IsEdit(HWND control) {
    wchar_t name[16];
    return ::GetClassNameW(control, name, 16) && _wcsicmp(name, L"Edit") == 0;
  }

  static HMENU BuildMenu(std::span<const MenuEntry> entries) {
    if (entries.empty()) return nullptr;
    HMENU bar = ::CreateMenu();
    for (const MenuEntry& top : entries) {
      if (top.parentId != 0) continue;
      HMENU popup = ::CreatePopupMenu();
      for (const MenuEntry& item : entries) {
        if (item.parentId != top.id) continue;
        if (std::wstring_view(item.caption) == kSeparator)
          ::AppendMenuW(popup, MF_SEPARATOR, 0, nullptr);
        else
          ::AppendMenuW(popup, MF_STRING, item.id, item.caption);
      }
      ::AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(popup), top.caption);
    }
    return bar;
  }

  void CreateControls() {
    // Creation order is the Tab order: the dialog manager walks siblings in
    // the order they were created.
    std::vector<const Control*> ordered;
    for (const Control& c : form_.layout_.controls) ordered.push_back(&c);
    std::stable_sort(ordered.begin(), ordered.end(),
                     [](const Control* a, const Control* b) { return a->tabIndex < b->tabIndex; });
    for (const Control* c : ordered) {
      const ControlClass cls = ClassFor(*c);
      HWND control = ::CreateWindowExW(cls.exStyle, cls.name, c->caption,
                                       WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | cls.style, 0, 0, 0, 0,
                                       hwnd_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(c->id)),
                                       Instance(), nullptr);
      if (!control) throw RunTimeError(kComponentMissing, L"Das Steuerelement konnte nicht erstellt werden.");
      if (c->kind == ControlKind::TextBox) {
        ::SendMessageW(control, EM_SETLIMITTEXT, 32767, 0);  // a whole command line
        ::SetWindowSubclass(control, &Live::TextBoxProcedure, kTextBoxSubclass,
                            reinterpret_cast<DWORD_PTR>(this));
      }
      if (c->kind == ControlKind::LinkLabel && c->link) linkLabel_.Configure(control, *c->link, c->align);
      if (c->drawnOnTop) ::SetWindowPos(control, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    }
  }

  // Sizes the window and its controls from their twips at the current DPI.
  void ApplyDpi() {
    fonts_.clear();
    defaultFont_ = CreateFontAt(kDefaultFont, dpi_);
    const FormLayout& layout = form_.layout_;
    RECT outer{0, 0, TwipsToPixels(layout.clientWidth, dpi_), TwipsToPixels(layout.clientHeight, dpi_)};
    ::AdjustWindowRectExForDpi(&outer, style_, ::GetMenu(hwnd_) != nullptr, exStyle_, dpi_);
    ::SetWindowPos(hwnd_, nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    for (const Control& c : layout.controls) {
      HWND control = ControlWindow(c.id);
      HFONT font = defaultFont_.get();
      if (c.font) {
        fonts_.push_back(CreateFontAt(*c.font, dpi_));
        font = fonts_.back().get();
      }
      ::SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
      ::SetWindowPos(control, nullptr, TwipsToPixels(c.left, dpi_), TwipsToPixels(c.top, dpi_),
                     TwipsToPixels(c.width, dpi_), TwipsToPixels(c.height, dpi_),
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
    ::InvalidateRect(hwnd_, nullptr, TRUE);
  }

  void CentreOnWorkArea() {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    ::GetMonitorInfoW(::MonitorFromWindow(hwnd_, MONITOR_DEFAULTTOPRIMARY), &info);
    RECT r;
    ::GetWindowRect(hwnd_, &r);
    const RECT& work = info.rcWork;
    const int x = work.left + ((work.right - work.left) - (r.right - r.left)) / 2;
    const int y = work.top + ((work.bottom - work.top) - (r.bottom - r.top)) / 2;
    ::SetWindowPos(hwnd_, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }

  const Control* ControlEntry(int id) const {
    for (const Control& c : form_.layout_.controls)
      if (c.id == id) return &c;
    return nullptr;
  }

  LRESULT Handle(UINT message, WPARAM w, LPARAM l) {
    switch (message) {
      case WM_COMMAND:
        if (l == 0 || HIWORD(w) == BN_CLICKED) form_.Click(LOWORD(w));
        return 0;
      case WM_CLOSE:
        form_.CloseBox();
        return 0;
      case WM_ACTIVATE:
        return OnActivate(LOWORD(w));
      case WM_SETFOCUS:
        if (lastFocus_ && ::IsWindow(lastFocus_)) ::SetFocus(lastFocus_);
        else FocusFirstTabStop();
        return 0;
      case WM_CTLCOLORSTATIC:
        return OnControlColour(reinterpret_cast<HDC>(w), reinterpret_cast<HWND>(l));
      case WM_DPICHANGED: {
        dpi_ = HIWORD(w);
        const RECT* suggested = reinterpret_cast<const RECT*>(l);
        ApplyDpi();
        ::SetWindowPos(hwnd_, nullptr, suggested->left, suggested->top, 0, 0,
                       SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        return 0;
      }
      default:
        return ::DefWindowProcW(hwnd_, message, w, l);
    }
  }

  // Keeps the focused control across deactivation, as dialogs do, so that the
  // focus is back in the text box after a message or a dialog closes.
  LRESULT OnActivate(WORD state) {
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

  LRESULT OnControlColour(HDC dc, HWND control) {
    const Control* entry = ControlEntry(::GetDlgCtrlID(control));
    if (entry && entry->colour != kNoColour && entry->kind == ControlKind::Label) {
      ::SetTextColor(dc, entry->colour);
    }
    ::SetBkColor(dc, ::GetSysColor(COLOR_BTNFACE));
    return reinterpret_cast<LRESULT>(::GetSysColorBrush(COLOR_BTNFACE));
  }

  static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM w, LPARAM l) {
    if (message == WM_NCCREATE) {
      auto* self = static_cast<Live*>(reinterpret_cast<CREATESTRUCTW*>(l)->lpCreateParams);
      self->hwnd_ = hwnd;
      ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<Live*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!self) return ::DefWindowProcW(hwnd, message, w, l);
    return Guarded([&] { return self->Handle(message, w, l); });
  }

  static LRESULT CALLBACK TextBoxProcedure(HWND control, UINT message, WPARAM w, LPARAM l, UINT_PTR,
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
      case WM_CHAR: {
        int key = static_cast<int>(w);
        const int id = ::GetDlgCtrlID(control);
        Guarded([&] { self->form_.KeyPress(id, key); });
        if (key == 0 || !::IsWindow(control)) return 0;
        return ::DefSubclassProc(control, message, static_cast<WPARAM>(key), l);
      }
      case WM_NCDESTROY:
        ::RemoveWindowSubclass(control, &Live::TextBoxProcedure, kTextBoxSubclass);
        break;
    }
    return ::DefSubclassProc(control, message, w, l);
  }

  Form& form_;
  LinkLabelLibrary linkLabel_;  // outlives the window, whose controls use its class
  HWND hwnd_ = nullptr;
  DWORD style_ = 0;
  DWORD exStyle_ = 0;
  int dpi_ = USER_DEFAULT_SCREEN_DPI;
  HWND lastFocus_ = nullptr;
  UniqueFont defaultFont_;
  std::vector<UniqueFont> fonts_;
};

Form::Form(const FormLayout& layout) : layout_(layout) {}
Form::~Form() = default;

void Form::Load() {
  if (window_) return;
  HWND owner = nullptr;
  if (owner_) {
    owner_->Load();
    owner = owner_->Window();
  }
  window_ = std::make_unique<Live>(*this, owner);
  Form_Load();
}

bool Form::Loaded() const { return window_ != nullptr; }

HWND__* Form::Window() const { return window_ ? window_->Handle() : nullptr; }

void Form::Show(int style) {
  Load();
  HWND hwnd = window_->Handle();
  if (style != kModal || modal_) {
    ::ShowWindow(hwnd, SW_SHOW);
    ::SetForegroundWindow(hwnd);
    return;
  }
  modal_ = true;
  HWND owner = owner_ ? owner_->Window() : nullptr;
  if (owner) ::EnableWindow(owner, FALSE);
  ::ShowWindow(hwnd, SW_SHOW);
  ::SetForegroundWindow(hwnd);
  RunEventLoop(
      [](const void* context) {
        const Form* form = static_cast<const Form*>(context);
        return form->Loaded() && ::IsWindowVisible(form->Window()) != FALSE;
      },
      this);
  modal_ = false;
  if (owner) {
    ::EnableWindow(owner, TRUE);
    ::SetActiveWindow(owner);
  }
}

void Form::Hide() {
  if (!window_) return;
  // The owner is enabled before the dialog goes, or the system would hand the
  // activation to some other program's window.
  if (modal_ && owner_ && owner_->Window()) ::EnableWindow(owner_->Window(), TRUE);
  ::ShowWindow(window_->Handle(), SW_HIDE);
}

void Form::Unload() {
  if (!window_) return;
  if (modal_ && owner_ && owner_->Window()) ::EnableWindow(owner_->Window(), TRUE);
  window_.reset();
}

namespace {
RECT Bounds(HWND hwnd) {
  RECT r{};
  ::GetWindowRect(hwnd, &r);
  return r;
}
}  // namespace

float Form::Left() { Load(); return PixelsToTwips(Bounds(Window()).left, window_->Dpi()); }
float Form::Top() { Load(); return PixelsToTwips(Bounds(Window()).top, window_->Dpi()); }
float Form::Width() {
  Load();
  const RECT r = Bounds(Window());
  return PixelsToTwips(r.right - r.left, window_->Dpi());
}
float Form::Height() {
  Load();
  const RECT r = Bounds(Window());
  return PixelsToTwips(r.bottom - r.top, window_->Dpi());
}

void Form::SetLeft(float twips) {
  Load();
  ::SetWindowPos(Window(), nullptr, TwipsToPixels(twips, window_->Dpi()), Bounds(Window()).top, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Form::SetTop(float twips) {
  Load();
  ::SetWindowPos(Window(), nullptr, Bounds(Window()).left, TwipsToPixels(twips, window_->Dpi()), 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

std::wstring Form::Text(int controlId) {
  Load();
  HWND control = window_->ControlWindow(controlId);
  std::wstring text(static_cast<std::size_t>(::GetWindowTextLengthW(control)) + 1, L'\0');
  text.resize(::GetWindowTextW(control, text.data(), static_cast<int>(text.size())));
  return text;
}

void Form::SetText(int controlId, std::wstring_view text) {
  Load();
  const std::wstring copy(text);
  ::SetWindowTextW(window_->ControlWindow(controlId), copy.c_str());
}

int Form::Value(int controlId) {
  Load();
  return static_cast<int>(::SendMessageW(window_->ControlWindow(controlId), BM_GETCHECK, 0, 0));
}

void Form::SetFocusTo(int controlId) {
  Load();
  window_->Focus(window_->ControlWindow(controlId));
}

void Form::MsgBox(std::wstring_view text, bool error) {
  const std::wstring copy(text);
  ::MessageBoxW(Window(), copy.c_str(), L"Vorlind", MB_OK | (error ? MB_ICONERROR : MB_ICONINFORMATION));
}

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
