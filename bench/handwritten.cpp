// The floor for start-up: the command window written by hand in plain Win32,
// without the form runtime and without the C++ runtime. The same menu, label,
// text box with the argument text and the caret behind it, bold button,
// fonts, manifest, icon and centring as Vorlind's, laid out from the same
// twips at the window's DPI. Where two ways show the same window, it takes
// the cheaper one: the work area from the system's parameters, the icons
// shared, the system's own colours for the label, no clipping of siblings and
// no call to bring the window to the front, which showing it does already.
// Enter does nothing here: it measures showing the window only.
#include <windows.h>
#include <commctrl.h>

namespace {

int Px(int twips, int dpi) { return MulDiv(twips, dpi, 1440); }

HFONT Font(int weight, int dpi) {
  return CreateFontW(-MulDiv(825, dpi, 7200), 0, 0, 0, weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                     CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, L"MS Sans Serif");
}

LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM w, LPARAM l) {
  if (message == WM_DESTROY) PostQuitMessage(0);
  return DefWindowProcW(hwnd, message, w, l);
}

HMENU Menu() {
  HMENU file = CreatePopupMenu();
  AppendMenuW(file, MF_STRING, 202, L"&Optionen");
  AppendMenuW(file, MF_SEPARATOR, 0, nullptr);
  AppendMenuW(file, MF_STRING, 204, L"&Beenden");
  HMENU info = CreatePopupMenu();
  AppendMenuW(info, MF_STRING, 206, L"Über &Vorlind");
  HMENU bar = CreateMenu();
  AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), L"&Datei");
  AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(info), L"&Info");
  return bar;
}

// The argument text: the command line behind the program's own name.
const wchar_t* Arguments() {
  const wchar_t* p = GetCommandLineW();
  if (*p == L'"') {
    ++p;
    while (*p && *p != L'"') ++p;
    if (*p) ++p;
  } else {
    while (*p && *p != L' ' && *p != L'\t') ++p;
  }
  while (*p == L' ' || *p == L'\t') ++p;
  return p;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = Procedure;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = L"Handwritten";
  RegisterClassExW(&wc);
  const DWORD style = WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN | WS_OVERLAPPED | WS_BORDER;
  const DWORD exStyle = WS_EX_CONTROLPARENT | WS_EX_APPWINDOW;
  HWND hwnd = CreateWindowExW(exStyle, L"Handwritten", L"Kommandozeile", style, CW_USEDEFAULT, CW_USEDEFAULT,
                              CW_USEDEFAULT, CW_USEDEFAULT, nullptr, Menu(), instance, nullptr);
  const int dpi = static_cast<int>(GetDpiForWindow(hwnd));
  const struct {
    WPARAM which;
    int metric;
  } icons[] = {{ICON_BIG, SM_CXICON}, {ICON_SMALL, SM_CXSMICON}};
  for (const auto& icon : icons) {
    const int size = GetSystemMetricsForDpi(icon.metric, static_cast<UINT>(dpi));
    SendMessageW(
        hwnd, WM_SETICON, icon.which,
        reinterpret_cast<LPARAM>(LoadImageW(instance, MAKEINTRESOURCEW(1), IMAGE_ICON, size, size, LR_SHARED)));
  }
  HFONT normal = Font(FW_NORMAL, dpi);
  HFONT bold = Font(FW_BOLD, dpi);
  const struct {
    const wchar_t* cls;
    const wchar_t* text;
    DWORD style, exStyle;
    int left, top, width, height;
    HFONT font;
  } children[] = {
      {L"Edit", Arguments(), WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE, 120, 480, 4455, 285, normal},
      {L"Button", L"&Ausführen", WS_TABSTOP | BS_PUSHBUTTON, 0, 4680, 420, 1215, 375, bold},
      {L"Static", L"Bitte geben Sie hinter dem Programmnamen die gewünschte Kommandozeile ein!", SS_LEFT, 0, 120, 120,
       5775, 255, normal},
  };
  HWND text = nullptr;
  for (const auto& c : children) {
    HWND child = CreateWindowExW(c.exStyle, c.cls, c.text, WS_CHILD | WS_VISIBLE | c.style, Px(c.left, dpi),
                                 Px(c.top, dpi), Px(c.width, dpi), Px(c.height, dpi), hwnd, nullptr, instance, nullptr);
    SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(c.font), FALSE);
    if (!text) text = child;
  }
  RECT outer{0, 0, Px(6015, dpi), Px(915, dpi)};
  AdjustWindowRectExForDpi(&outer, style, TRUE, exStyle, static_cast<UINT>(dpi));
  RECT work{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  const int width = outer.right - outer.left, height = outer.bottom - outer.top;
  SetWindowPos(hwnd, nullptr, work.left + ((work.right - work.left) - width) / 2,
               work.top + ((work.bottom - work.top) - height) / 2, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
  ShowWindow(hwnd, SW_SHOW);
  SetFocus(text);
  SendMessageW(text, EM_SETSEL, 0x7fffffff, 0x7fffffff);
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (IsDialogMessageW(hwnd, &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return 0;
}
