// The About window's link, and a link control that cannot be created.
#include <gtest/gtest.h>
#include <windows.h>
#include <oleacc.h>

#include "driver.h"
#include "platform/link_label/protocol.h"
#include "registry_dump.h"

using namespace driver;

namespace {

constexpr wchar_t kMailtoCommand[] = L"mailto\\shell\\open\\command";

// Points the prefix's mailto: handler elsewhere for one test.
class MailtoHandler {
 public:
  explicit MailtoHandler(const std::wstring& command) : old_(DefaultValue(HKEY_CLASSES_ROOT, kMailtoCommand)) {
    Set(command);
  }
  ~MailtoHandler() {
    if (old_ == L"<none>")
      RegDeleteTreeW(HKEY_CLASSES_ROOT, L"mailto");
    else
      Set(old_);
  }

 private:
  static void Set(const std::wstring& command) {
    HKEY key;
    RegCreateKeyExW(HKEY_CLASSES_ROOT, kMailtoCommand, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr);
    RegSetValueExW(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(command.c_str()),
                   static_cast<DWORD>((command.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
  }
  std::wstring old_;
};

struct About {
  About() : vorlind(VorlindCommand(L"x")) {
    HWND main = WaitForWindow(vorlind.Id(), L"Kommandozeile");
    if (main) window = ChooseMenu(vorlind.Id(), main, L'i', L'v', L"Info");
    if (window) link = Child(window, L"VorlindLinkLabel");
  }
  bool Visited() const { return SendMessageW(link, platform::link_label::kIsVisited, 0, 0) != 0; }
  // Space on the focused link follows it.
  void Follow() {
    Foreground(window);
    WaitUntil([&] { return FocusOf(window) == link; }, 3000);
    PressKey(VK_SPACE);
  }
  Process vorlind;
  HWND window = nullptr;
  HWND link = nullptr;
};

TEST(AboutLink, OpensTheAddressWithTheSystemsHandlerAndOnlyThenCountsAsVisited) {
  const std::wstring record = FreshRecordPath();
  MailtoHandler handler(Quoted(RecorderPath()) + L" \"%1\"");
  About about;
  ASSERT_TRUE(about.link);
  EXPECT_FALSE(about.Visited());
  about.Follow();
  EXPECT_NE(WaitForRecord(record).find(L"mailto:vorlind@example.org"), std::wstring::npos);
  EXPECT_TRUE(WaitUntil([&] { return about.Visited(); }, 3000));
}

TEST(AboutLink, AnAddressTheShellCannotOpenIsReportedAndNotVisited) {
  MailtoHandler handler(LR"("C:\nirgends\fehlt.exe" "%1")");
  About about;
  ASSERT_TRUE(about.link);
  about.Follow();
  HWND box = WaitForWindow(about.vorlind.Id(), L"Vorlind");
  ASSERT_TRUE(box) << "no message";
  EXPECT_NE(MessageText(box).find(L"mailto:vorlind@example.org"), std::wstring::npos) << MessageText(box);
  EXPECT_FALSE(about.Visited());
  Foreground(box);
  PressKey(VK_RETURN);
  EXPECT_TRUE(WaitUntil([&] { return !IsWindow(box); }));
  EXPECT_TRUE(about.vorlind.Running());
}

HWND g_watched = nullptr;
int g_changes = 0;  // the state changes of g_watched a hook heard

void CALLBACK StateChanged(HWINEVENTHOOK, DWORD, HWND hwnd, LONG object, LONG, DWORD, DWORD) {
  if (hwnd == g_watched && object == OBJID_CLIENT) ++g_changes;
}

// What a screen reader asks of the link, from another process, as it asks.
TEST(AboutLink, TellsAScreenReaderItsRoleNameStateAndDefaultAction) {
  const std::wstring record = FreshRecordPath();
  MailtoHandler handler(Quoted(RecorderPath()) + L" \"%1\"");
  About about;
  ASSERT_TRUE(about.link);
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  g_watched = about.link;
  HWINEVENTHOOK hook = SetWinEventHook(EVENT_OBJECT_STATECHANGE, EVENT_OBJECT_STATECHANGE, nullptr, StateChanged,
                                       about.vorlind.Id(), 0, WINEVENT_OUTOFCONTEXT);
  IAccessible* link = nullptr;
  ASSERT_EQ(
      AccessibleObjectFromWindow(about.link, OBJID_CLIENT, __uuidof(IAccessible), reinterpret_cast<void**>(&link)),
      S_OK);
  VARIANT self{}, answer{};
  self.vt = VT_I4;
  BSTR name = nullptr, action = nullptr;
  EXPECT_TRUE(link->get_accRole(self, &answer) == S_OK && answer.lVal == ROLE_SYSTEM_LINK);
  link->get_accName(self, &name);
  EXPECT_STREQ(name, L"Vorlind-Team (vorlind@example.org)");
  link->get_accDefaultAction(self, &action);
  EXPECT_STREQ(action, L"Springen");

  const auto state = [&] { return link->get_accState(self, &answer) == S_OK ? answer.lVal : 0; };
  const auto heard = [] {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    return g_changes > 0;
  };
  Foreground(about.window);
  PressKey(VK_TAB);
  EXPECT_TRUE(WaitUntil([&] { return (state() & STATE_SYSTEM_FOCUSED) != 0; }, 3000));
  EXPECT_EQ(state() & (STATE_SYSTEM_LINKED | STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_TRAVERSED),
            STATE_SYSTEM_LINKED | STATE_SYSTEM_FOCUSABLE);
  heard();
  g_changes = 0;
  EXPECT_EQ(link->accDoDefaultAction(self), S_OK);
  EXPECT_NE(WaitForRecord(record).find(L"mailto:vorlind@example.org"), std::wstring::npos);
  EXPECT_TRUE(WaitUntil([&] { return (state() & STATE_SYSTEM_TRAVERSED) != 0; }, 3000));
  EXPECT_TRUE(WaitUntil(heard, 3000)) << "no state change announced";

  // Kept beyond its window, the object answers that it is gone.
  PostMessageW(about.window, WM_SYSCOMMAND, SC_CLOSE, 0);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(about.window); }));
  EXPECT_TRUE(FAILED(link->get_accRole(self, &answer)));
  EXPECT_TRUE(about.vorlind.Running());
  SysFreeString(name);
  SysFreeString(action);
  link->Release();
  UnhookWinEvent(hook);
  CoUninitialize();
}

// A control that refuses creation: the run-time error ends the program, and
// no half-made window of the About form is left while it reports.
TEST(AboutLink, AControlThatCannotBeCreatedLeavesNoWindowBehind) {
  VorlindCopy copy(L"refusing", false);  // beside the refusing LinkLabel.dll
  Process vorlind(Quoted(copy.Exe()) + L" x");
  HWND main = WaitForWindow(vorlind.Id(), L"Kommandozeile");
  ASSERT_TRUE(main);
  HWND box = ChooseMenu(vorlind.Id(), main, L'i', L'v', L"Vorlind");
  ASSERT_TRUE(box) << "no run-time error";
  EXPECT_NE(MessageText(box).find(L"Laufzeitfehler"), std::wstring::npos) << MessageText(box);
  // The form windows left are the main window's alone: a window the failed
  // About form leaves would answer its messages through freed memory.
  EXPECT_EQ(WindowsOfClass(vorlind.Id(), L"VorlindForm"), std::vector<HWND>{main})
      << "the About window outlived its failure";
  Foreground(box);
  PressKey(VK_RETURN);
  ASSERT_TRUE(vorlind.WaitForExit());
  EXPECT_NE(vorlind.ExitCode(), 0u);
}

}  // namespace
