// Opens and closes each dialog many times inside the real program code and
// checks that GDI objects, windows and kernel handles come back to the level
// of the first round: fonts, brushes, icons and the LinkLabel control are
// released on every path.
#include <gtest/gtest.h>
#include <windows.h>
#include <winternl.h>

#include <cstdint>

#include "dialogs/Form2.h"
#include "dialogs/Form3.h"
#include "main_window/Form1.h"

namespace {

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

BOOL CALLBACK CountWindow(HWND hwnd, LPARAM count) {
  ++*reinterpret_cast<DWORD*>(count);
  EnumChildWindows(hwnd, CountWindow, count);
  return TRUE;
}

DWORD UserObjects() {
  if (DWORD n = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS)) return n;
  DWORD n = 0;
  EnumThreadWindows(GetCurrentThreadId(), CountWindow, reinterpret_cast<LPARAM>(&n));
  return n;
}

struct Counts {
  DWORD gdi, user, handles;
  bool operator==(const Counts&) const = default;
};

Counts Now() {
  Counts c{GdiObjects(), UserObjects(), 0};
  GetProcessHandleCount(GetCurrentProcess(), &c.handles);
  return c;
}

enum class Way { Hide, CloseBox };
platform::Form* g_dialog = nullptr;
Way g_way = Way::Hide;

// Ends the modal showing from inside its own loop, as a user would.
void CALLBACK EndShowing(HWND, UINT, UINT_PTR timer, DWORD) {
  KillTimer(nullptr, timer);
  HWND window = g_dialog->Window();
  if (g_way == Way::CloseBox) {
    SendMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);
  } else if (g_dialog == &dialogs::Form2::Instance()) {
    SendMessageW(GetDlgItem(window, dialogs::Form2::kCommand1), BM_CLICK, 0, 0);  // "&Abbrechen"
  } else {
    g_dialog->Hide();  // the About window has no button
  }
}

void ShowAndEnd(platform::Form& dialog, Way way) {
  g_dialog = &dialog;
  g_way = way;
  SetTimer(nullptr, 0, 0, EndShowing);
  dialog.Show(platform::kModal);
}

TEST(Soak, DialogsReleaseWhatTheyTakeOverManyShowings) {
  main_window::Form1::Instance().Show();
  struct Case {
    const char* name;
    platform::Form& dialog;
    Way way;
  } cases[] = {{"options, hidden", dialogs::Form2::Instance(), Way::Hide},
               {"options, closed", dialogs::Form2::Instance(), Way::CloseBox},
               {"about, hidden", dialogs::Form3::Instance(), Way::Hide},
               {"about, closed", dialogs::Form3::Instance(), Way::CloseBox}};
  for (const Case& c : cases) {
    ShowAndEnd(c.dialog, c.way);
    const Counts first = Now();
    for (int round = 1; round < 200; ++round) ShowAndEnd(c.dialog, c.way);
    const Counts last = Now();
    EXPECT_EQ(last.gdi, first.gdi) << c.name;
    EXPECT_EQ(last.user, first.user) << c.name;
    EXPECT_EQ(last.handles, first.handles) << c.name;
    EXPECT_TRUE(IsWindowEnabled(main_window::Form1::Instance().Window())) << c.name;
    std::printf("%-16s GDI %lu, USER %lu, handles %lu after 200 showings\n", c.name, last.gdi, last.user,
                last.handles);
  }
}

}  // namespace
