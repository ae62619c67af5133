// Opens and closes each dialog many times inside the real program code and
// checks that GDI objects, windows and kernel handles come back to the level
// of the first round: fonts, brushes, icons and the LinkLabel control are
// released on every path.
#include <gtest/gtest.h>
#include <windows.h>

#include "dialogs/Form2.h"
#include "dialogs/Form3.h"
#include "main_window/Form1.h"
#include "gui_resources.h"

namespace {

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
    std::printf("%-16s GDI %lu, USER %lu, handles %lu after 200 showings\n", c.name, last.gdi, last.user, last.handles);
  }
}

}  // namespace
