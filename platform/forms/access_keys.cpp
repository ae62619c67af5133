#include "platform/forms/access_keys.h"

namespace platform {

namespace {

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

}  // namespace

bool PressAccessKey(HWND form, wchar_t letter) {
  const wchar_t key = Upper(letter);
  // A key that several controls share presses none of them, as the dialog
  // manager does: it moves the focus to the next of them after the focused
  // control, round the Tab order, and Space or Enter then acts. The controls
  // were created in Tab order; a control's place is its index among its
  // siblings.
  HWND focus = ::GetFocus();
  int focused = -1;  // with the focus elsewhere, the first of them
  if (focus && ::IsChild(form, focus)) {
    focused = 0;
    for (HWND c = ::GetWindow(focus, GW_HWNDFIRST); c && c != focus; c = ::GetWindow(c, GW_HWNDNEXT)) ++focused;
  }
  HWND first = nullptr;
  HWND next = nullptr;
  int matches = 0;
  int index = -1;
  for (HWND c = ::GetWindow(form, GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT)) {
    ++index;
    if (!::IsWindowVisible(c) || !::IsWindowEnabled(c) || AccessKeyOf(c) != key ||
        ((::SendMessageW(c, WM_GETDLGCODE, 0, 0) & DLGC_BUTTON) == 0 && !IsPushButton(c)))
      continue;
    ++matches;
    if (!first) first = c;
    if (!next && index > focused) next = c;
  }
  if (matches == 0) return false;
  if (matches == 1) {
    ::SetFocus(first);
    ::SendMessageW(first, BM_CLICK, 0, 0);
    return true;
  }
  ::SetFocus(next ? next : first);
  return true;
}

}  // namespace platform
