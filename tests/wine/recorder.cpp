// Records the command line it was started with, as UTF-16, into
// "recorder.record" beside itself: no environment is needed, so the record
// comes however the program was started (directly, by a batch file or by
// the shell through a shortcut).
#include <windows.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  wchar_t path[MAX_PATH + 16];
  DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
  while (n > 0 && path[n - 1] != L'\\') --n;
  path[n] = 0;
  lstrcatW(path, L"recorder.record");
  const wchar_t* line = GetCommandLineW();
  // Written to a side file first and renamed, so a reader never sees half.
  wchar_t partial[MAX_PATH + 32];
  lstrcpyW(partial, path);
  lstrcatW(partial, L".part");
  HANDLE file = CreateFileW(partial, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 3;
  DWORD written = 0;
  WriteFile(file, line, static_cast<DWORD>(lstrlenW(line) * sizeof(wchar_t)), &written, nullptr);
  CloseHandle(file);
  MoveFileExW(partial, path, MOVEFILE_REPLACE_EXISTING);
  return 0;
}
