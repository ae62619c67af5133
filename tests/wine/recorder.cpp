// Records the command line it was started with, as UTF-16, into the file
// named by VORLIND_RECORD, then waits a little so a test can see it run.
#include <windows.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  wchar_t path[MAX_PATH];
  if (!GetEnvironmentVariableW(L"VORLIND_RECORD", path, MAX_PATH)) return 2;
  const wchar_t* line = GetCommandLineW();
  // Written to a side file first and renamed, so a reader never sees half.
  wchar_t partial[MAX_PATH + 8];
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
