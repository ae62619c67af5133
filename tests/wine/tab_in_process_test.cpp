// Tab in the real command window inside this test program, before a folder
// that does not answer (Wine's never hangs): the process services are a
// fake whose file check waits until the test lets it go.
#include <gtest/gtest.h>
#include <windows.h>

#include "answers.h"
#include "fake_processes.h"
#include "main_window/Form1.h"

namespace {

using main_window::Form1;

struct Unanswered final : FakeProcesses {
  HANDLE go = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  LONG volatile finished = 0;  // lookups past their last call here
  bool IsFile(const std::wstring&) override {
    WaitForSingleObject(go, INFINITE);
    return false;
  }
  std::optional<bool> Elevated() override {
    InterlockedIncrement(&finished);
    return true;
  }
};

// Tab waits a moment, then moves the focus as before; a key pressed
// meanwhile ends the wait at once. The lookups left behind end on their own.
TEST(InProcess, TabDoesNotWaitLongForAFolderThatDoesNotAnswer) {
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
  MSG key;
  while (PeekMessageW(&key, text, WM_KEYDOWN, WM_KEYDOWN, PM_REMOVE)) {
  }
  EXPECT_EQ(WindowText(text), LR"(t.exe C:\x)");
  SetEvent(unanswered.go);
  for (int i = 0; i < 100 && unanswered.finished < 2; ++i) Sleep(20);
  EXPECT_EQ(unanswered.finished, 2);
  Form1::Instance().UseProcessCalls(platform::SystemProcesses());
}

}  // namespace
