// How the link control draws itself: its caption in the colour of its state
// (link_look.h), the focus rectangle when focus came by keyboard.
#include <windows.h>

#include "platform/link_label/link_look.h"
#include "platform/link_label/link_state.h"

namespace platform::link_label {

void Paint(HWND hwnd, State& state) {
  const LinkLook look = ChooseLook(state.highContrast, state.visited, state.pressed, state.colours,
                                   {GetSysColor(COLOR_HOTLIGHT), GetSysColor(COLOR_WINDOW)});
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(hwnd, &ps);
  RECT client;
  GetClientRect(hwnd, &client);
  // The parent chooses the background, as it does for its own labels; in
  // high contrast the theme does.
  HBRUSH brush = nullptr;
  if (look.background == kParentBackground) {
    brush = reinterpret_cast<HBRUSH>(
        SendMessageW(GetParent(hwnd), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(hwnd)));
  } else {
    SetDCBrushColor(dc, look.background);
    brush = static_cast<HBRUSH>(GetStockObject(DC_BRUSH));
  }
  FillRect(dc, &client, brush ? brush : GetSysColorBrush(COLOR_BTNFACE));

  int length = 0;
  wchar_t* caption = CaptionOf(hwnd, &length);
  if (!caption) {
    EndPaint(hwnd, &ps);
    return;
  }
  HGDIOBJ oldFont = state.font ? SelectObject(dc, state.font) : nullptr;
  SetTextColor(dc, look.text);
  SetBkMode(dc, TRANSPARENT);
  DrawTextW(dc, caption, length, &client, state.alignment | DT_TOP | DT_NOPREFIX | DT_SINGLELINE);
  const bool focusShown = GetFocus() == hwnd && !(SendMessageW(hwnd, WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS);
  if (focusShown || look.frame || look.underline) {
    RECT text = client;
    DrawTextW(dc, caption, length, &text, state.alignment | DT_TOP | DT_NOPREFIX | DT_SINGLELINE | DT_CALCRECT);
    const int shift = state.alignment == DT_CENTER  ? ((client.right - client.left) - (text.right - text.left)) / 2
                      : state.alignment == DT_RIGHT ? (client.right - text.right)
                                                    : 0;
    OffsetRect(&text, shift, 0);
    if (look.underline) {
      RECT line{text.left, text.bottom - 1, text.right, text.bottom};
      SetDCBrushColor(dc, look.text);
      FillRect(dc, &line, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
    }
    if (focusShown || look.frame) DrawFocusRect(dc, &text);
  }
  if (oldFont) SelectObject(dc, oldFont);
  HeapFree(GetProcessHeap(), 0, caption);
  EndPaint(hwnd, &ps);
}

}  // namespace platform::link_label
