#include "platform/forms/access_keys.h"

#include <algorithm>
#include <vector>

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
  std::vector<HWND> matches;  // in Tab order: the controls were created in it
  for (HWND c = ::GetWindow(form, GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT)) {
    if (::IsWindowVisible(c) && ::IsWindowEnabled(c) && AccessKeyOf(c) == key &&
        ((::SendMessageW(c, WM_GETDLGCODE, 0, 0) & DLGC_BUTTON) != 0 || IsPushButton(c)))
      matches.push_back(c);
  }
  if (matches.empty()) return false;
  if (matches.size() == 1) {
    ::SetFocus(matches.front());
    ::SendMessageW(matches.front(), BM_CLICK, 0, 0);
    return true;
  }
  // A key that several controls share presses none of them, as the dialog
  // manager does: it moves the focus to the next of them after the focused
  // control, round the Tab order, and Space or Enter then acts.
  HWND focus = ::GetFocus();
  auto next = matches.begin();
  if (focus && ::IsChild(form, focus)) {
    const auto position = [](HWND control) {
      int index = 0;
      for (HWND c = ::GetWindow(control, GW_HWNDFIRST); c && c != control; c = ::GetWindow(c, GW_HWNDNEXT)) ++index;
      return index;
    };
    const int focused = position(focus);
    next = std::find_if(matches.begin(), matches.end(), [&](HWND c) { return position(c) > focused; });
    if (next == matches.end()) next = matches.begin();
  }
  ::SetFocus(*next);
  return true;
}

}  // namespace platform
