// The real forms inside this test program, for what Wine cannot bring from
// outside: a drop handle (not marshalled between processes), a DPI change
// (Wine never sends one), a process that is not elevated and a declined
// consent prompt (Wine runs everything elevated and never asks). The
// platform's answers are injected where the platform cannot give them.
#include <gtest/gtest.h>
#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include <functional>
#include <string>
#include <vector>

#include "dialogs/Form2.h"
#include "fake_processes.h"
#include "fake_registry.h"
#include "gui_resources.h"
#include "main_window/Form1.h"
#include "platform/forms/form_layout.h"

namespace {

using main_window::Form1;

HWND ShownMain() {
  Form1::Instance().Show();
  return Form1::Instance().Window();
}

HDROP MakeDrop(const std::vector<std::wstring>& paths) {
  std::wstring names;
  for (const std::wstring& path : paths) names += path + L'\0';
  names += L'\0';
  HGLOBAL memory = GlobalAlloc(GHND, sizeof(DROPFILES) + names.size() * sizeof(wchar_t));
  auto* drop = static_cast<DROPFILES*>(GlobalLock(memory));
  drop->pFiles = sizeof(DROPFILES);
  drop->fWide = TRUE;
  memcpy(reinterpret_cast<BYTE*>(drop) + sizeof(DROPFILES), names.data(), names.size() * sizeof(wchar_t));
  GlobalUnlock(memory);
  return static_cast<HDROP>(memory);
}

std::wstring WindowText(HWND hwnd) {
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(hwnd)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(GetWindowTextW(hwnd, text.data(), static_cast<int>(text.size()))));
  return text;
}

TEST(InProcess, DroppedFilesGoIntoTheTextAtTheCaret) {
  HWND main = ShownMain();
  HWND text = GetDlgItem(main, Form1::kText1);
  SetWindowTextW(text, LR"("C:\t.exe" -x)");
  SendMessageW(text, EM_SETSEL, 11, 11);
  SendMessageW(main, WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop({LR"(C:\a b.txt)", LR"(D:\c.txt)"})), 0);
  EXPECT_EQ(WindowText(text), LR"("C:\t.exe" "C:\a b.txt" D:\c.txt -x)");
  EXPECT_EQ(GetFocus(), text);
  DWORD start = 0, end = 0;
  SendMessageW(text, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  EXPECT_EQ(start, 32u);
  EXPECT_EQ(end, 32u);
}

// Sends the DPI change the platform sends when the window moves to a monitor
// with that DPI, with the rectangle it would suggest; returns the rectangle.
RECT ChangeDpi(HWND main, int dpi) {
  RECT outer{0, 0, platform::TwipsToPixels(6015, dpi), platform::TwipsToPixels(915, dpi)};
  AdjustWindowRectExForDpi(&outer, static_cast<DWORD>(GetWindowLongW(main, GWL_STYLE)), TRUE,
                           static_cast<DWORD>(GetWindowLongW(main, GWL_EXSTYLE)), static_cast<UINT>(dpi));
  RECT now;
  GetWindowRect(main, &now);
  RECT suggested{now.left + 10, now.top + 10, now.left + 10 + outer.right - outer.left,
                 now.top + 10 + outer.bottom - outer.top};
  SendMessageW(main, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
  return suggested;
}

int IconWidth(HWND main, WPARAM which) {
  auto icon = reinterpret_cast<HICON>(SendMessageW(main, WM_GETICON, which, 0));
  ICONINFO info{};
  if (!icon || !GetIconInfo(icon, &info)) return 0;
  BITMAP bitmap{};
  GetObjectW(info.hbmMask, sizeof bitmap, &bitmap);
  DeleteObject(info.hbmMask);
  if (info.hbmColor) DeleteObject(info.hbmColor);
  return bitmap.bmWidth;
}

TEST(InProcess, ADpiChangeLaysEverythingOutAnewAndGivesBackWhatItTook) {
  HWND main = ShownMain();
  const int startDpi = static_cast<int>(GetDpiForWindow(main));
  const RECT suggested = ChangeDpi(main, 144);
  RECT now;
  GetWindowRect(main, &now);
  EXPECT_TRUE(EqualRect(&now, &suggested)) << "moved and sized to the suggested rectangle";

  const struct {
    int id;
    float left, top, width, height;
    int weight;
  } controls[] = {{Form1::kLabel2, 120, 120, 5775, 255, 400},
                  {Form1::kText1, 120, 480, 4455, 285, 400},
                  {Form1::kCommand1, 4680, 420, 1215, 375, 700}};
  for (const auto& c : controls) {
    HWND control = GetDlgItem(main, c.id);
    RECT r;
    GetWindowRect(control, &r);
    MapWindowPoints(HWND_DESKTOP, main, reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ(r.left, platform::TwipsToPixels(c.left, 144)) << c.id;
    EXPECT_EQ(r.top, platform::TwipsToPixels(c.top, 144)) << c.id;
    EXPECT_EQ(r.right - r.left, platform::TwipsToPixels(c.width, 144)) << c.id;
    EXPECT_EQ(r.bottom - r.top, platform::TwipsToPixels(c.height, 144)) << c.id;
    LOGFONTW font{};
    ASSERT_TRUE(GetObjectW(reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)), sizeof font, &font));
    EXPECT_EQ(font.lfHeight, -platform::PointsToPixels(8.25f, 144)) << c.id;
    EXPECT_EQ(font.lfWeight, c.weight) << c.id;
  }
  EXPECT_EQ(IconWidth(main, ICON_BIG), GetSystemMetricsForDpi(SM_CXICON, 144));
  EXPECT_EQ(IconWidth(main, ICON_SMALL), GetSystemMetricsForDpi(SM_CXSMICON, 144));

  ChangeDpi(main, 96);
  const DWORD gdi = GdiObjects();
  for (int i = 0; i < 200; ++i) {
    ChangeDpi(main, 144);
    ChangeDpi(main, 96);
  }
  EXPECT_EQ(GdiObjects(), gdi) << "fonts and icons of every DPI are given back";
  EXPECT_EQ(IconWidth(main, ICON_SMALL), GetSystemMetricsForDpi(SM_CXSMICON, 96));
  ChangeDpi(main, startDpi);
}

// Answers the next message box of this thread with the given button, and
// notes its text and buttons. Runs from a timer inside the box's own loop.
struct MessageBoxAnswer {
  int answer = IDOK;
  int seen = 0;
  std::wstring text;
  bool hasYesNo = false;
  bool hasOk = false;
};
MessageBoxAnswer* g_answer = nullptr;

BOOL CALLBACK AnswerBox(HWND hwnd, LPARAM) {
  wchar_t name[16];
  if (!IsWindowVisible(hwnd) || !GetClassNameW(hwnd, name, 16) || std::wstring(name) != L"#32770") return TRUE;
  MessageBoxAnswer& a = *g_answer;
  ++a.seen;
  a.text.clear();
  for (HWND c = GetWindow(hwnd, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) a.text += WindowText(c) + L"\n";
  a.hasYesNo = GetDlgItem(hwnd, IDYES) && GetDlgItem(hwnd, IDNO);
  a.hasOk = GetDlgItem(hwnd, IDOK) != nullptr;
  const int button = a.hasYesNo ? a.answer : IDOK;
  PostMessageW(hwnd, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(hwnd, button)));
  return FALSE;
}

void CALLBACK LookForBox(HWND, UINT, UINT_PTR, DWORD) { EnumThreadWindows(GetCurrentThreadId(), AnswerBox, 0); }

TEST(InProcess, ADeclinedConsentPromptIsNotReportedWhileOtherFailuresAre) {
  HWND main = ShownMain();
  HWND text = GetDlgItem(main, Form1::kText1);
  for (unsigned long shellResult : {platform::kErrorCancelled, 5ul}) {
    FakeProcesses fake;
    fake.processResult = platform::kErrorElevationRequired;  // Windows' answer for a setup.exe
    fake.shellResult = shellResult;
    Form1::Instance().UseProcessCalls(fake);
    MessageBoxAnswer answer;
    g_answer = &answer;
    const UINT_PTR timer = SetTimer(nullptr, 0, 50, LookForBox);
    SetWindowTextW(text, L"setup.exe /q");
    SendMessageW(GetDlgItem(main, Form1::kCommand1), BM_CLICK, 0, 0);
    KillTimer(nullptr, timer);
    Form1::Instance().UseProcessCalls(platform::SystemProcesses());
    EXPECT_EQ(fake.starts, (std::vector<std::wstring>{L"process |setup.exe /q", L"shell open setup.exe|/q"}));
    EXPECT_EQ(fake.lastOwner, main);
    EXPECT_EQ(answer.seen, shellResult == platform::kErrorCancelled ? 0 : 1) << shellResult;
    EXPECT_EQ(WindowText(text), L"setup.exe /q");
  }
}

// Ticks .exe, .com and .pif and presses "Ü&bernehmen" from inside the modal
// showing; .com and .pif fail as if access were denied.
struct Retry {
  std::optional<bool> elevated;
  int answer;
  unsigned long shellResult;
  MessageBoxAnswer seen;
  std::vector<std::wstring> starts;
};

void CALLBACK TickAndApply(HWND, UINT, UINT_PTR timer, DWORD) {
  KillTimer(nullptr, timer);
  HWND dialog = dialogs::Form2::Instance().Window();
  for (int box : {dialogs::Form2::kCheck1, dialogs::Form2::kCheck2, dialogs::Form2::kCheck5})
    SendMessageW(GetDlgItem(dialog, box), BM_SETCHECK, BST_CHECKED, 0);
  PostMessageW(GetDlgItem(dialog, dialogs::Form2::kCommand2), BM_CLICK, 0, 0);
}

void RunRetry(Retry& r) {
  FakeRegistry registry;
  registry.failWhenAny = {"create 0x80000000 .com", "create 0x80000000 .pif"};
  FakeProcesses processes;
  processes.elevated = r.elevated;
  processes.shellResult = r.shellResult;
  dialogs::Form2::Instance().UsePlatform(registry, processes);
  r.seen.answer = r.answer;
  g_answer = &r.seen;
  const UINT_PTR boxes = SetTimer(nullptr, 0, 50, LookForBox);
  SetTimer(nullptr, 0, 0, TickAndApply);
  dialogs::Form2::Instance().Show(platform::kModal);
  KillTimer(nullptr, boxes);
  dialogs::Form2::Instance().UsePlatform(platform::SystemRegistry(), platform::SystemProcesses());
  r.starts = processes.starts;
}

TEST(InProcess, FailedRegistrationOffersToRetryAsAdministratorWithTheFailedTypes) {
  ShownMain();
  const std::wstring self = FakeProcesses().ProgramFile();
  Retry yes{false, IDYES, 0};
  RunRetry(yes);
  EXPECT_EQ(yes.seen.seen, 1);
  EXPECT_TRUE(yes.seen.hasYesNo);
  EXPECT_FALSE(yes.seen.hasOk);
  EXPECT_NE(yes.seen.text.find(L".com, .pif"), std::wstring::npos) << yes.seen.text;
  EXPECT_NE(yes.seen.text.find(L"Als Administrator erneut versuchen?"), std::wstring::npos) << yes.seen.text;
  EXPECT_EQ(yes.starts, std::vector<std::wstring>{L"shell runas " + self + L"|/registrieren:.com,.pif"});
  EXPECT_FALSE(IsWindowVisible(dialogs::Form2::Instance().Window())) << "the dialog hides as before";

  Retry no{false, IDNO, 0};
  RunRetry(no);
  EXPECT_EQ(no.seen.seen, 1);
  EXPECT_TRUE(no.starts.empty());

  Retry declined{false, IDYES, platform::kErrorCancelled};
  RunRetry(declined);
  EXPECT_EQ(declined.seen.seen, 1) << "a declined prompt ends it silently";
  EXPECT_EQ(declined.starts.size(), 1u);

  for (std::optional<bool> elevated : {std::optional<bool>(true), std::optional<bool>()}) {
    Retry already{elevated, IDYES, 0};
    RunRetry(already);
    EXPECT_EQ(already.seen.seen, 1);
    EXPECT_TRUE(already.seen.hasOk);
    EXPECT_FALSE(already.seen.hasYesNo);
    EXPECT_EQ(already.seen.text.find(L"erneut versuchen?"), std::wstring::npos);
    EXPECT_TRUE(already.starts.empty());
  }
}

}  // namespace
