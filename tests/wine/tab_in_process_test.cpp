// Tab in the real command window inside this test program, before a folder
// that does not answer (under Wine every folder does): the process services
// are a fake whose file check waits until the test lets it go.
#include <gtest/gtest.h>
#include <windows.h>

#include "fake_processes.h"
#include "main_window/Form1.h"

namespace {

struct Unanswered final : FakeProcesses {
  HANDLE go = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  LONG volatile finished = 0;  // lookups past their last call here, which answers yes
  bool IsFile(const std::wstring&) override { return WaitForSingleObject(go, INFINITE) == WAIT_FAILED; }
  std::optional<bool> Elevated() override { return InterlockedIncrement(&finished) > 0; }
};

// Tab waits a moment, then moves the focus as before; a key pressed
// meanwhile ends the wait at once. The lookups left behind end on their own.
TEST(InProcess, TabDoesNotWaitLongForAFolderThatDoesNotAnswer) {
  using main_window::Form1;
  Form1::Instance().Show();
  Unanswered unanswered;
  Form1::Instance().UseProcessCalls(unanswered);
  HWND text = GetDlgItem(Form1::Instance().Window(), Form1::kText1);
  SetWindowTextW(text, LR"(t.exe C:\x)");
  SendMessageW(text, EM_SETSEL, 10, 10);
  MSG tab{text, WM_KEYDOWN, VK_TAB};
  for (bool keyWaiting : {false, true}) {
    if (keyWaiting) PostMessageW(text, WM_KEYDOWN, 'X', 0);
    const DWORD start = GetTickCount();
    EXPECT_FALSE(SendMessageW(text, WM_GETDLGCODE, VK_TAB, reinterpret_cast<LPARAM>(&tab)) & DLGC_WANTTAB);
    const DWORD waited = GetTickCount() - start;
    EXPECT_TRUE(keyWaiting ? waited < 150 : waited >= 250 && waited < 1000) << waited;
  }
  SetEvent(unanswered.go);
  for (int i = 0; i < 100 && unanswered.finished < 2; ++i) Sleep(20);
  EXPECT_EQ(unanswered.finished, 2);
  Form1::Instance().UseProcessCalls(platform::SystemProcesses());
}

}  // namespace
