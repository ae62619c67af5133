// The real forms inside this test program, for what Wine cannot bring from
// outside: a drop handle (not marshalled between processes), a DPI change
// (Wine never sends one), a process that is not elevated and a declined
// consent prompt (Wine runs everything elevated and never asks). The
// platform's answers are injected where the platform cannot give them.
#include <gtest/gtest.h>
#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>
#include <commctrl.h>

#include <functional>
#include <string>
#include <vector>

#include "dialogs/Form2.h"
#include "dialogs/Form3.h"
#include "fake_processes.h"
#include "fake_registry.h"
#include "answers.h"
#include "gui_resources.h"
#include "main_window/Form1.h"
#include "platform/forms/form_layout.h"
#include "platform/forms/form_window.h"

namespace {

using main_window::Form1;

HWND ShownMain() {
  Form1::Instance().Show();
  return Form1::Instance().Window();
}

// IEnumString's contract: a clone reads on from the same place, on its own.
TEST(InProcess, SuggestionLinesCloneWithTheirPlaceAndRefuseANullPointer) {
  const platform::UniqueComObject lines(platform::NewLineEnumerator(CoTaskMemAlloc, std::wstring(L"a\0b\0", 4)));
  IEnumString *first = nullptr, *clone = nullptr;
  EXPECT_EQ(lines.get()->QueryInterface(__uuidof(IEnumString), nullptr), E_POINTER);
  ASSERT_EQ(lines.get()->QueryInterface(__uuidof(IEnumString), reinterpret_cast<void**>(&first)), S_OK);
  EXPECT_EQ(first->Skip(1), S_OK);
  EXPECT_EQ(first->Clone(nullptr), E_POINTER);
  ASSERT_EQ(first->Clone(&clone), S_OK);
  LPOLESTR line = nullptr;
  EXPECT_EQ(clone->Next(1, &line, nullptr), S_OK);
  EXPECT_STREQ(line, L"b") << "from the same place";
  CoTaskMemFree(line);
  EXPECT_EQ(first->Skip(1), S_OK) << "each keeps its own place";
  first->Release();
  clone->Release();
}

// A folder that does not answer (under Wine every folder does): process
// services whose file check waits until the test lets it go.
struct Unanswered final : FakeProcesses {
  HANDLE go = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  LONG volatile finished = 0;  // lookups past their last call here, which answers yes
  bool IsFile(const std::wstring&) override { return WaitForSingleObject(go, INFINITE) == WAIT_FAILED; }
  std::optional<bool> Elevated() override { return InterlockedIncrement(&finished) > 0; }
};

// Tab waits a moment, then moves the focus as before; a key pressed
// meanwhile ends the wait at once, and the Tab is taken so that the key
// stays in the text box, unless it is a Tab too. Shift held down repeating
// ends nothing. The lookups left behind end on their own.
TEST(InProcess, TabDoesNotWaitLongForAFolderThatDoesNotAnswer) {
  HWND text = GetDlgItem(ShownMain(), Form1::kText1);
  Unanswered unanswered;
  Form1::Instance().UseProcessCalls(unanswered);
  SetWindowTextW(text, LR"(t.exe C:\x)");
  SendMessageW(text, EM_SETSEL, 10, 10);
  MSG tab{text, WM_KEYDOWN, VK_TAB};
  const struct {
    std::vector<WPARAM> keys;  // pressed while Tab waits, the last held down repeating
    LPARAM last;
    bool taken, atOnce;
  } cases[] = {{{}, 0, false, false},
               {{'X'}, 0, true, true},
               {{VK_TAB}, 0, false, true},
               {{VK_SHIFT, VK_SHIFT}, 1 << 30, false, false}};
  for (const auto& c : cases) {
    for (std::size_t i = 0; i < c.keys.size(); ++i)
      PostMessageW(text, WM_KEYDOWN, c.keys[i], i + 1 == c.keys.size() ? c.last : 0);
    const DWORD start = GetTickCount();
    EXPECT_EQ((SendMessageW(text, WM_GETDLGCODE, VK_TAB, reinterpret_cast<LPARAM>(&tab)) & DLGC_WANTTAB) != 0, c.taken);
    const DWORD waited = GetTickCount() - start;
    EXPECT_TRUE(c.atOnce ? waited < 150 : waited >= 250 && waited < 1000) << waited;
    for (MSG left; PeekMessageW(&left, text, WM_KEYDOWN, WM_KEYDOWN, PM_REMOVE);) {
    }
  }
  SetEvent(unanswered.go);
  for (int i = 0; i < 100 && unanswered.finished < 4; ++i) Sleep(20);
  EXPECT_EQ(unanswered.finished, 4);
  Form1::Instance().UseProcessCalls(platform::SystemProcesses());
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

  // A name no file can have, as another program may post it: nothing at all.
  SendMessageW(text, EM_SETSEL, 3, 3);
  SendMessageW(main, WM_DROPFILES,
               reinterpret_cast<WPARAM>(MakeDrop({LR"(C:\ok.txt)", LR"(C:\x" & calc & ")", L"C:\\a\nb"})), 0);
  EXPECT_EQ(WindowText(text), LR"("C:\t.exe" "C:\a b.txt" D:\c.txt -x)");
  SendMessageW(text, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  EXPECT_EQ(start, 3u) << "the caret stays";
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

TEST(InProcess, ADeclinedConsentPromptIsNotReportedWhileOtherFailuresAre) {
  HWND main = ShownMain();
  HWND text = GetDlgItem(main, Form1::kText1);
  for (unsigned long shellResult : {platform::kErrorCancelled, 5ul}) {
    FakeProcesses fake;
    fake.processResult = platform::kErrorElevationRequired;  // Windows' answer for a setup.exe
    fake.shellResult = shellResult;
    Form1::Instance().UseProcessCalls(fake);
    Answers answer;
    {
      Answering answering(answer);
      SetWindowTextW(text, L"setup.exe /q");
      SendMessageW(GetDlgItem(main, Form1::kCommand1), BM_CLICK, 0, 0);
    }
    Form1::Instance().UseProcessCalls(platform::SystemProcesses());
    EXPECT_EQ(fake.starts, (std::vector<std::wstring>{L"process |setup.exe /q", L"shell open setup.exe|/q"}));
    EXPECT_EQ(fake.lastOwner, main);
    EXPECT_EQ(answer.seen, shellResult == platform::kErrorCancelled ? 0 : 1) << shellResult;
    EXPECT_EQ(WindowText(text), L"setup.exe /q");
  }
}

// Only top-level windows hear that the system's colours changed, as they do
// when a high-contrast theme is switched: the About window tells its link.
TEST(InProcess, TheAboutWindowPassesAColourChangeOnToItsLink) {
  dialogs::Form3& about = dialogs::Form3::Instance();
  about.Load();
  HWND link = FindWindowExW(about.Window(), nullptr, L"VorlindLinkLabel", nullptr);
  int heard = 0;
  const auto count = [](HWND hwnd, UINT message, WPARAM w, LPARAM l, UINT_PTR, DWORD_PTR data) -> LRESULT {
    *reinterpret_cast<int*>(data) += message == WM_SYSCOLORCHANGE;
    return DefSubclassProc(hwnd, message, w, l);
  };
  ASSERT_TRUE(SetWindowSubclass(link, count, 1, reinterpret_cast<DWORD_PTR>(&heard)));
  const int element = COLOR_HOTLIGHT;
  const COLORREF same = GetSysColor(COLOR_HOTLIGHT);  // only the notice goes out
  SetSysColors(1, &element, &same);
  EXPECT_GT(heard, 0);
  RemoveWindowSubclass(link, count, 1);
  about.Unload();
}

}  // namespace
