#include "platform/access_keys.h"

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

// A unique access key presses its button or check box. When several controls
// share one, a push button wins: the command is what the key is for, and the
// check box stays reachable by Tab and Space.
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

}  // namespace platform
