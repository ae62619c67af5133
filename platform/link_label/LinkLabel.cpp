// LinkLabel.dll: a label that shows its caption as a link and, when clicked
// or activated by Space or Enter, opens its mailto: hyperlink with the
// platform's handler for such links. Nothing else is ever opened.
#include <windows.h>
#include <objbase.h>
#include <shellapi.h>

#include <new>

#include "platform/link_label/link_state.h"
#include "platform/link_label/protocol.h"

// Plain Win32 only, no C++ runtime: the control stays a small DLL.

using namespace platform::link_label;

wchar_t* platform::link_label::CaptionOf(HWND hwnd, int* length) {
  *length = GetWindowTextLengthW(hwnd);
  auto* text = static_cast<wchar_t*>(HeapAlloc(GetProcessHeap(), 0, (*length + 1) * sizeof(wchar_t)));
  if (text) *length = GetWindowTextW(hwnd, text, *length + 1);
  return text;
}

namespace {

HINSTANCE g_module = nullptr;  // this DLL, whose code the class points into

bool IsMailto(const wchar_t* link) {
  return lstrlenW(link) > 7 && CompareStringOrdinal(link, 7, L"mailto:", 7, TRUE) == CSTR_EQUAL;
}

bool HighContrastOn() {
  HIGHCONTRASTW setting{};
  setting.cbSize = sizeof setting;
  return SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof setting, &setting, 0) &&
         (setting.dwFlags & HCF_HIGHCONTRASTON);
}

// "Die Adresse konnte nicht geöffnet werden", the address and the platform's
// reason, over the window that holds the control.
void ShowFailure(HWND hwnd, const wchar_t* address, DWORD error) {
  wchar_t* reason = nullptr;
  FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                 error, 0, reinterpret_cast<wchar_t*>(&reason), 0, nullptr);
  constexpr wchar_t kIntro[] = L"Die Adresse konnte nicht geöffnet werden:\n\n";
  const int length = lstrlenW(kIntro) + lstrlenW(address) + 2 + (reason ? lstrlenW(reason) : 0) + 1;
  auto* text = static_cast<wchar_t*>(HeapAlloc(GetProcessHeap(), 0, length * sizeof(wchar_t)));
  if (text) {
    lstrcpyW(text, kIntro);
    lstrcatW(text, address);
    lstrcatW(text, L"\n\n");
    if (reason) lstrcatW(text, reason);
    MessageBoxW(GetAncestor(hwnd, GA_ROOT), text, L"Vorlind", MB_OK | MB_ICONERROR);
    HeapFree(GetProcessHeap(), 0, text);
  }
  LocalFree(reason);
}

void Follow(HWND hwnd, State& state) {
  if (!IsMailto(state.hyperlink)) return;
  // The shell's open action wants COM on this thread.
  const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
  SHELLEXECUTEINFOW info{};
  info.cbSize = sizeof info;
  info.fMask = SEE_MASK_FLAG_NO_UI | SEE_MASK_NOASYNC;
  info.hwnd = hwnd;
  info.lpVerb = L"open";
  info.lpFile = state.hyperlink;
  info.nShow = SW_SHOWNORMAL;
  const BOOL opened = ShellExecuteExW(&info);
  const DWORD error = opened ? ERROR_SUCCESS : GetLastError();
  if (SUCCEEDED(com)) CoUninitialize();
  if (!opened) {
    ShowFailure(hwnd, state.hyperlink, error);
    return;
  }
  state.visited = true;  // only a link that was really followed
  InvalidateRect(hwnd, nullptr, TRUE);
  AnnounceStateChange(hwnd);
}

// The state lives in the class's own window bytes: GWLP_USERDATA belongs to
// whoever hosts the control.
constexpr int kStateSlot = 0;

LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM w, LPARAM l) {
  auto* state = reinterpret_cast<State*>(GetWindowLongPtrW(hwnd, kStateSlot));
  switch (message) {
    case WM_NCCREATE: {
      void* memory = HeapAlloc(GetProcessHeap(), 0, sizeof(State));
      if (!memory) return FALSE;
      state = new (memory) State;  // in place: a State on the stack would be larger than a page
      state->highContrast = HighContrastOn();
      SetWindowLongPtrW(hwnd, kStateSlot, reinterpret_cast<LONG_PTR>(state));
      break;
    }
    case WM_NCDESTROY:
      SetWindowLongPtrW(hwnd, kStateSlot, 0);
      if (state) DisconnectAccessible(*state);
      HeapFree(GetProcessHeap(), 0, state);
      break;
  }
  if (!state) return DefWindowProcW(hwnd, message, w, l);

  switch (message) {
    case kSetHyperlink:
      lstrcpynW(state->hyperlink, l ? reinterpret_cast<const wchar_t*>(l) : L"", kLongestLink + 1);
      return 0;
    case kSetColour:
      if (w <= kActive) state->colours[w] = static_cast<COLORREF>(l);
      InvalidateRect(hwnd, nullptr, TRUE);
      return 0;
    case kIsVisited: return state->visited;
    case kSetAlignment:
      state->alignment = w == 2 ? DT_CENTER : w == 1 ? DT_RIGHT : DT_LEFT;
      InvalidateRect(hwnd, nullptr, TRUE);
      return 0;
    case WM_SETFONT:
      state->font = reinterpret_cast<HFONT>(w);
      if (LOWORD(l)) InvalidateRect(hwnd, nullptr, TRUE);
      return 0;
    case WM_GETFONT: return reinterpret_cast<LRESULT>(state->font);
    case WM_SETTEXT: {
      const LRESULT result = DefWindowProcW(hwnd, message, w, l);
      InvalidateRect(hwnd, nullptr, TRUE);
      return result;
    }
    case WM_PAINT: Paint(hwnd, *state); return 0;
    case WM_ERASEBKGND: return 1;  // WM_PAINT fills the whole client area
    case WM_SETCURSOR: SetCursor(LoadCursorW(nullptr, IDC_HAND)); return TRUE;
    case WM_GETDLGCODE: {
      // Space and Enter follow the link; Enter must not reach the dialog
      // manager's default-button handling.
      const auto* msg = reinterpret_cast<const MSG*>(l);
      LRESULT code = DLGC_WANTCHARS;
      if (msg && msg->message == WM_KEYDOWN && msg->wParam == VK_RETURN) code |= DLGC_WANTMESSAGE;
      return code;
    }
    case WM_SETFOCUS:
      InvalidateRect(hwnd, nullptr, TRUE);
      NotifyWinEvent(EVENT_OBJECT_FOCUS, hwnd, OBJID_CLIENT, CHILDID_SELF);
      return 0;
    // Losing the focus is announced by the window that takes it.
    case WM_KILLFOCUS: InvalidateRect(hwnd, nullptr, TRUE); return 0;
    // Only top-level windows hear of a theme switched: the host passes these on.
    case WM_SETTINGCHANGE:
    case WM_SYSCOLORCHANGE:
      state->highContrast = HighContrastOn();
      InvalidateRect(hwnd, nullptr, TRUE);
      return 0;
    case WM_GETOBJECT: return AnswerGetObject(hwnd, *state, w, l);
    // Disabled since the default action was asked for: nothing is followed.
    case kFollowPosted:
      if (IsWindowEnabled(hwnd)) Follow(hwnd, *state);
      return 0;
    case WM_LBUTTONDOWN:
      SetFocus(hwnd);
      SetCapture(hwnd);
      state->pressed = true;
      InvalidateRect(hwnd, nullptr, TRUE);
      return 0;
    case WM_LBUTTONUP: {
      if (!state->pressed) return 0;
      state->pressed = false;
      ReleaseCapture();
      RECT client;
      GetClientRect(hwnd, &client);
      const POINT at{static_cast<short>(LOWORD(l)), static_cast<short>(HIWORD(l))};
      InvalidateRect(hwnd, nullptr, TRUE);
      if (PtInRect(&client, at)) Follow(hwnd, *state);
      return 0;
    }
    case WM_CAPTURECHANGED:
      state->pressed = false;
      InvalidateRect(hwnd, nullptr, TRUE);
      return 0;
    case WM_CHAR:
      if (w == L' ' || w == L'\r') Follow(hwnd, *state);
      return 0;
  }
  return DefWindowProcW(hwnd, message, w, l);
}

}  // namespace

extern "C" __declspec(dllexport) BOOL WINAPI LinkLabelRegister() {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  // Global, as for any control library: windows of the host's module find it.
  wc.style = CS_GLOBALCLASS;
  wc.lpfnWndProc = Procedure;
  wc.cbWndExtra = sizeof(LONG_PTR);  // the State pointer at kStateSlot
  wc.hInstance = g_module;
  wc.hCursor = LoadCursorW(nullptr, IDC_HAND);
  wc.lpszClassName = kClassName;
  if (RegisterClassExW(&wc)) return TRUE;
  return GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    g_module = module;
    DisableThreadLibraryCalls(module);
  }
  return TRUE;
}
