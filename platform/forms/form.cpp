// The form's life cycle (load, show, hide, unload, modal showing) and what
// its handlers read and set: geometry, texts, check marks, selection, focus.
#include "platform/forms/form.h"

#include "platform/forms/form_window.h"
#include "platform/message_box.h"

namespace platform {

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
  if (style == kModal && !window_ && !owner_) owner_ = FromWindow(::GetActiveWindow());
  if (owner_ == this) owner_ = nullptr;
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
RECT WindowRect(HWND hwnd) {
  RECT r{};
  ::GetWindowRect(hwnd, &r);
  return r;
}
}  // namespace

PixelBounds Form::Bounds() {
  Load();
  const RECT r = WindowRect(Window());
  return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

int Form::Dpi() {
  Load();
  return window_->Dpi();
}

void Form::MoveTo(int left, int top) {
  Load();
  ::SetWindowPos(Window(), nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
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

std::pair<int, int> Form::Selection(int controlId) {
  Load();
  DWORD start = 0;
  DWORD end = 0;
  ::SendMessageW(window_->ControlWindow(controlId), EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                 reinterpret_cast<LPARAM>(&end));
  return {static_cast<int>(start), static_cast<int>(end)};
}

void Form::SetSelection(int controlId, int start, int end) {
  Load();
  ::SendMessageW(window_->ControlWindow(controlId), EM_SETSEL, static_cast<WPARAM>(start), end);
}

void Form::Suggest(int controlId, std::wstring_view lines) {
  Load();
  window_->Suggest(controlId, lines);
}

void Form::MsgBox(std::wstring_view text, bool error) { ShowMessage(Window(), text, Buttons::Ok, error); }

bool Form::AskYesNo(std::wstring_view text) { return ShowMessage(Window(), text, Buttons::YesNo); }

}  // namespace platform
