#pragma once
// Inside LinkLabel.dll: what one link control holds, shared by its window
// procedure (LinkLabel.cpp) and its accessibility object (link_accessible.cpp).
#include <windows.h>

namespace platform::link_label {

constexpr int kLongestLink = 2084;  // the longest URL the shell accepts

// Posted by the accessibility object's default action: the link is followed
// as a click follows it, after the caller got its answer.
constexpr UINT kFollowPosted = WM_USER + 0x100;

class LinkAccessible;

struct State {
  wchar_t hyperlink[kLongestLink + 1] = L"";
  COLORREF colours[3] = {RGB(0, 0, 255), RGB(128, 0, 128), RGB(255, 0, 0)};
  UINT alignment = DT_LEFT;
  HFONT font = nullptr;  // owned by the host
  bool visited = false;
  bool pressed = false;
  bool highContrast = false;
  bool comJoined = false;                // this control initialised COM on its thread
  LinkAccessible* accessible = nullptr;  // one reference, from the first WM_GETOBJECT to WM_NCDESTROY
};

// The window text in a buffer of the process heap; the caller frees it.
wchar_t* CaptionOf(HWND hwnd, int* length);

// WM_PAINT.
void Paint(HWND hwnd, State& state);

// WM_GETOBJECT: the control's own accessibility object for OBJID_CLIENT.
LRESULT AnswerGetObject(HWND hwnd, State& state, WPARAM w, LPARAM l);
// WM_NCDESTROY: the object, should a client still hold it, answers that it
// is no longer connected from now on.
void DisconnectAccessible(State& state);

// After the state a client reads has changed (traversed); a change of focus
// has its own event.
inline void AnnounceStateChange(HWND hwnd) {
  NotifyWinEvent(EVENT_OBJECT_STATECHANGE, hwnd, OBJID_CLIENT, CHILDID_SELF);
}

}  // namespace platform::link_label
