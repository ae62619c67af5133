// A LinkLabel.dll whose control refuses to be created: the window class
// registers, but every window of it fails in WM_NCCREATE.
#include <windows.h>

namespace {

HINSTANCE g_module = nullptr;

LRESULT CALLBACK Refuse(HWND hwnd, UINT message, WPARAM w, LPARAM l) {
  if (message == WM_NCCREATE) return FALSE;
  return DefWindowProcW(hwnd, message, w, l);
}

}  // namespace

extern "C" __declspec(dllexport) BOOL WINAPI LinkLabelRegister() {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.style = CS_GLOBALCLASS;
  wc.lpfnWndProc = Refuse;
  wc.hInstance = g_module;
  wc.lpszClassName = L"VorlindLinkLabel";
  return RegisterClassExW(&wc) != 0;
}

BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) g_module = module;
  return TRUE;
}
