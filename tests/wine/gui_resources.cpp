#include "gui_resources.h"

#include <winternl.h>

#include <cstdint>

// Wine's GetGuiResources always answers 0. There the GDI objects are counted
// in the process's own handle table (the PEB's GdiSharedHandleTable, whose
// entries have a non-zero type while in use), and USER objects as windows.
DWORD GdiObjects() {
  if (DWORD n = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS)) return n;
  struct Entry {
    std::uint64_t object;
    std::uint16_t processId, count, unique;
    std::uint8_t type, flags;
    std::uint64_t user;
  };
  PROCESS_BASIC_INFORMATION basic{};
  NtQueryInformationProcess(GetCurrentProcess(), ProcessBasicInformation, &basic, sizeof basic, nullptr);
  auto* peb = reinterpret_cast<std::uint8_t*>(basic.PebBaseAddress);
  const auto* table = *reinterpret_cast<Entry* const*>(peb + 0xF8);
  DWORD n = 0;
  for (int i = 0; table && i < 0x10000; ++i) n += table[i].type != 0;
  return n;
}

namespace {
BOOL CALLBACK CountWindow(HWND hwnd, LPARAM count) {
  ++*reinterpret_cast<DWORD*>(count);
  EnumChildWindows(hwnd, CountWindow, count);
  return TRUE;
}
}  // namespace

DWORD UserObjects() {
  if (DWORD n = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS)) return n;
  DWORD n = 0;
  EnumThreadWindows(GetCurrentThreadId(), CountWindow, reinterpret_cast<LPARAM>(&n));
  return n;
}
