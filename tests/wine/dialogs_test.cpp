// The two dialogs driven through the main window's menu, and the whole round
// trip from registering the verb to a program started through it.
#include <gtest/gtest.h>
#include <windows.h>

#include <cmath>

#include "driver.h"
#include "registry_dump.h"

using namespace driver;

namespace {

const std::pair<const wchar_t*, const wchar_t*> kTypes[] = {
    {L".exe", L"exefile"}, {L".com", L"comfile"}, {L".bat", L"batfile"}, {L".pif", L"piffile"}, {L".lnk", L"lnkfile"}};

std::wstring VerbKey(const wchar_t* fileType) { return std::wstring(fileType) + L"\\Shell\\Kommandozeile"; }

void ForgetVerbs() {
  for (const auto& [ext, type] : kTypes) RegDeleteTreeW(HKEY_CLASSES_ROOT, VerbKey(type).c_str());
}

std::wstring AllTypes() {
  std::wstring dump;
  for (const auto& [ext, type] : kTypes) dump += DumpTree(HKEY_CLASSES_ROOT, ext) + DumpTree(HKEY_CLASSES_ROOT, type);
  return dump;
}

std::wstring RegisteredCommand(const wchar_t* fileType) {
  return DefaultValue(HKEY_CLASSES_ROOT, VerbKey(fileType) + L"\\command");
}

// Vorlind with its main window, and the dialogs opened the way a user does.
class Dialogs : public testing::Test {
 protected:
  void SetUp() override {
    ForgetVerbs();
    Start(VorlindCommand(L"x"));
  }
  void TearDown() override { ForgetVerbs(); }

  void Start(const std::wstring& commandLine, const std::wstring& folder = L"") {
    process = std::make_unique<Process>(commandLine, folder);
    main = WaitForWindow(process->Id(), L"Kommandozeile");
    ASSERT_TRUE(main);
  }

  HWND OpenOptions() { return ChooseMenu(process->Id(), main, L'd', L'o', L"Dateitypen registrieren"); }
  HWND OpenAbout() { return ChooseMenu(process->Id(), main, L'i', L'v', L"Info"); }

  bool Gone(HWND dialog) {
    return WaitUntil([&] { return !IsWindow(dialog) || !IsWindowVisible(dialog); });
  }

  static HWND Box(HWND dialog, const wchar_t* caption) { return Child(dialog, L"Button", caption); }
  // "Ü&bernehmen" shares its access key with ".&bat": a click presses it.
  static void Apply(HWND dialog) { PostMessageW(Box(dialog, L"Ü&bernehmen"), BM_CLICK, 0, 0); }
  static bool Ticked(HWND box) { return SendMessageW(box, BM_GETCHECK, 0, 0) == BST_CHECKED; }

  // The centre of the dialog's outer bounds over the main window's, in pixels.
  void ExpectCentredOver(HWND dialog, const RECT& mainRect) {
    RECT d;
    GetWindowRect(dialog, &d);
    const double top = ((mainRect.bottom - mainRect.top) - (d.bottom - d.top)) / 2.0 + mainRect.top;
    const double left = ((mainRect.right - mainRect.left) - (d.right - d.left)) / 2.0 + mainRect.left;
    EXPECT_NEAR(d.top, top, 1.0);
    EXPECT_NEAR(d.left, left, 1.0);
  }

  RECT MainRect() {
    RECT r;
    GetWindowRect(main, &r);
    return r;
  }

  void MoveMain(int x, int y) {
    SetWindowPos(main, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    WaitUntil([&] { return MainRect().left == x && MainRect().top == y; });
  }

  std::unique_ptr<Process> process;
  HWND main = nullptr;
};

const wchar_t* const kBoxes[] = {L"Zu .&exe-Dateien ins Kontextmenü", L"Zu .&com-Dateien ins Kontextmenü",
                                 L"Zu .&bat-Dateien ins Kontextmenü", L"Zu .&pif-Dateien ins Kontextmenü",
                                 L"Zu .&lnk-Dateien ins Kontextmenü"};

TEST_F(Dialogs, OptionsShowsItsControlsModallyOverTheMainWindow) {
  HWND dialog = OpenOptions();
  ASSERT_TRUE(dialog);
  EXPECT_FALSE(IsWindowEnabled(main)) << "modal: the main window takes no input";
  EXPECT_EQ(GetWindow(dialog, GW_OWNER), main) << "owned, so not in the task bar";
  const LONG style = GetWindowLongW(dialog, GWL_STYLE);
  EXPECT_FALSE(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME));

  const int dpi = DpiOf(dialog);
  EXPECT_EQ(ClientSize(dialog).cx, Px(3450, dpi));
  EXPECT_EQ(ClientSize(dialog).cy, Px(2475, dpi));
  const float tops[] = {120, 480, 840, 1200, 1560};
  for (int i = 0; i < 5; ++i) {
    HWND box = Box(dialog, kBoxes[i]);
    ASSERT_TRUE(box) << i;
    EXPECT_FALSE(Ticked(box));
    const RECT r = RectInClient(box);
    EXPECT_EQ(r.left, Px(120, dpi));
    EXPECT_EQ(r.top, Px(tops[i], dpi));
    EXPECT_EQ(r.right - r.left, Px(3210, dpi));
    EXPECT_EQ(r.bottom - r.top, Px(255, dpi));
  }
  const RECT cancel = RectInClient(Box(dialog, L"&Abbrechen"));
  const RECT apply = RectInClient(Box(dialog, L"Ü&bernehmen"));
  EXPECT_EQ(cancel.left, Px(120, dpi));
  EXPECT_EQ(apply.left, Px(1860, dpi));
  EXPECT_EQ(apply.top, Px(1980, dpi));
  EXPECT_EQ(apply.right - apply.left, Px(1455, dpi));
  EXPECT_EQ(apply.bottom - apply.top, Px(375, dpi));
  ExpectCentredOver(dialog, MainRect());

  // Tab order: .exe, .com, .bat, .lnk, Abbrechen, Übernehmen, .pif, and round.
  const HWND order[] = {Box(dialog, kBoxes[0]), Box(dialog, kBoxes[1]),     Box(dialog, kBoxes[2]),
                        Box(dialog, kBoxes[4]), Box(dialog, L"&Abbrechen"), Box(dialog, L"Ü&bernehmen"),
                        Box(dialog, kBoxes[3]), Box(dialog, kBoxes[0])};
  EXPECT_EQ(FocusOf(dialog), order[0]);
  for (int i = 1; i < 8; ++i) {
    PressKey(VK_TAB);
    EXPECT_EQ(FocusOf(dialog), order[i]) << "after " << i << " Tab";
  }
  PressKey(VK_TAB, false, true);
  EXPECT_EQ(FocusOf(dialog), order[6]);
}

TEST_F(Dialogs, CancelKeepsTicksAndPlaceWhileTheCloseBoxForgetsThem) {
  HWND dialog = OpenOptions();
  ASSERT_TRUE(dialog);
  const RECT first = [&] {
    RECT r;
    GetWindowRect(dialog, &r);
    return r;
  }();
  AltKey(L'e');  // ticks .exe
  EXPECT_TRUE(Ticked(Box(dialog, kBoxes[0])));
  AltKey(L'a');  // Abbrechen
  ASSERT_TRUE(Gone(dialog));
  EXPECT_TRUE(WaitUntil([&] { return IsWindowEnabled(main) != FALSE; }));
  EXPECT_TRUE(WaitUntil([&] { return ActiveOf(main) == main; })) << "the main window is active again";

  MoveMain(100, 300);
  dialog = OpenOptions();
  ASSERT_TRUE(dialog);
  EXPECT_TRUE(Ticked(Box(dialog, kBoxes[0])));
  RECT again;
  GetWindowRect(dialog, &again);
  EXPECT_EQ(again.left, first.left) << "a loaded dialog keeps its first place";
  EXPECT_EQ(again.top, first.top);

  PostMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dialog); })) << "the close box unloads";
  dialog = OpenOptions();
  ASSERT_TRUE(dialog);
  EXPECT_FALSE(Ticked(Box(dialog, kBoxes[0])));
  ExpectCentredOver(dialog, MainRect());
}

TEST_F(Dialogs, ApplyRegistersTheTickedTypesOnly) {
  const std::wstring before = AllTypes();
  HWND dialog = OpenOptions();
  ASSERT_TRUE(dialog);
  Apply(dialog);  // with nothing ticked
  ASSERT_TRUE(Gone(dialog));
  EXPECT_EQ(AllTypes(), before) << "nothing ticked writes nothing";

  dialog = OpenOptions();
  ASSERT_TRUE(dialog);
  AltKey(L'l');  // .lnk alone
  Apply(dialog);
  ASSERT_TRUE(Gone(dialog));
  const std::wstring expected = Quoted(VorlindPath()) + L" \"%1\"";
  EXPECT_EQ(RegisteredCommand(L"lnkfile"), expected);
  EXPECT_EQ(DefaultValue(HKEY_CLASSES_ROOT, L".lnk"), L"lnkfile");
  for (const wchar_t* other : {L"exefile", L"comfile", L"batfile", L"piffile"})
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, VerbKey(other))) << other;

  // Every type, twice: the same state as once. ".&bat" shares its key with
  // "Ü&bernehmen"; here it is ticked with Tab and Space.
  dialog = OpenOptions();
  ASSERT_TRUE(dialog);
  for (wchar_t key : {L'e', L'c', L'p'}) {
    AltKey(key);
    WaitUntil([&] { return Ticked(FocusOf(dialog)); }, 2000);
  }
  // Shift+Tab from .pif: Übernehmen, Abbrechen, .lnk, .bat.
  for (int i = 0; i < 4; ++i) PressKey(VK_TAB, false, true);
  ASSERT_EQ(FocusOf(dialog), Box(dialog, kBoxes[2]));
  PressKey(VK_SPACE);
  ASSERT_TRUE(WaitUntil([&] { return Ticked(Box(dialog, kBoxes[2])); }, 2000));
  for (int i = 0; i < 5; ++i) EXPECT_TRUE(Ticked(Box(dialog, kBoxes[i]))) << i;
  PostMessageW(Box(dialog, L"Ü&bernehmen"), BM_CLICK, 0, 0);
  ASSERT_TRUE(Gone(dialog));
  const std::wstring once = AllTypes();
  for (const auto& [ext, type] : kTypes) {
    EXPECT_EQ(RegisteredCommand(type), expected) << type;
    EXPECT_EQ(DefaultValue(HKEY_CLASSES_ROOT, ext), type);
  }
  dialog = OpenOptions();
  PostMessageW(Box(dialog, L"Ü&bernehmen"), BM_CLICK, 0, 0);
  ASSERT_TRUE(Gone(dialog));
  EXPECT_EQ(AllTypes(), once);
}

// ".&bat" and "Ü&bernehmen" share B: the key presses neither, it moves the
// focus between them in Tab order, and Space or Enter then acts.
TEST_F(Dialogs, ASharedAccessKeyMovesTheFocusAndPressesNothing) {
  const std::wstring before = AllTypes();
  HWND dialog = OpenOptions();
  ASSERT_TRUE(dialog);
  HWND bat = Box(dialog, kBoxes[2]);
  HWND apply = Box(dialog, L"Ü&bernehmen");
  const HWND expected[] = {bat, apply, bat, apply};
  for (HWND next : expected) {
    AltKey(L'b');
    EXPECT_TRUE(WaitUntil([&] { return FocusOf(dialog) == next; }, 3000));
  }
  // The letter alone, on a control that takes no typing, is the same key.
  PressKey('B');
  EXPECT_TRUE(WaitUntil([&] { return FocusOf(dialog) == bat; }, 3000));
  EXPECT_TRUE(IsWindowVisible(dialog)) << "nothing was pressed";
  EXPECT_FALSE(Ticked(bat));
  EXPECT_EQ(AllTypes(), before);

  PressKey(VK_SPACE);  // on .bat: Space ticks it
  EXPECT_TRUE(WaitUntil([&] { return Ticked(bat); }, 3000));
  AltKey(L'b');  // to Übernehmen: Enter presses it
  ASSERT_TRUE(WaitUntil([&] { return FocusOf(dialog) == apply; }, 3000));
  PressKey(VK_RETURN);
  ASSERT_TRUE(Gone(dialog));
  EXPECT_EQ(RegisteredCommand(L"batfile"), Quoted(VorlindPath()) + L" \"%1\"");
  // A key no other control has still presses its control at once.
  dialog = OpenOptions();
  ASSERT_TRUE(dialog);
  AltKey(L'a');
  EXPECT_TRUE(Gone(dialog));
}

TEST_F(Dialogs, AboutShowsProductVersionAndContactOverTheMainWindow) {
  MoveMain(200, 500);
  HWND about = OpenAbout();
  ASSERT_TRUE(about);
  EXPECT_FALSE(IsWindowEnabled(main));
  EXPECT_EQ(GetWindow(about, GW_OWNER), main);
  const int dpi = DpiOf(about);
  EXPECT_EQ(ClientSize(about).cx, Px(4650, dpi));
  EXPECT_EQ(ClientSize(about).cy, Px(2250, dpi));
  ExpectCentredOver(about, MainRect());

  const std::pair<const wchar_t*, RECT> labels[] = {
      {L"Vorlind", {120, 60, 4395, 855}},
      {L"Version 2.0", {3720, 720, 795, 195}},
      {L"Tips und Anregungen sowie Kritik bitte an:", {120, 1020, 4395, 255}},
      {L"Ich beantworte Mails auf Deutsch und Englisch.", {120, 1680, 4395, 255}},
      {L"I answer on mails in German and English.", {120, 1920, 4395, 255}}};
  for (const auto& [text, twips] : labels) {
    HWND label = Child(about, L"Static", text);
    ASSERT_TRUE(label) << testing::PrintToString(std::wstring(text));
    const RECT r = RectInClient(label);
    EXPECT_EQ(r.left, Px(twips.left, dpi));
    EXPECT_EQ(r.top, Px(twips.top, dpi));
    EXPECT_EQ(r.right - r.left, Px(twips.right, dpi));
  }
  HWND link = Child(about, L"VorlindLinkLabel");
  ASSERT_TRUE(link);
  EXPECT_EQ(TextOf(link), L"Vorlind-Team (vorlind@example.org)");
  EXPECT_EQ(RectInClient(link).top, Px(1320, dpi));
  // A screen reader reads the window's texts in the window order: top to bottom.
  std::vector<std::wstring> read;
  for (HWND child : Children(about)) read.push_back(TextOf(child));
  EXPECT_EQ(read, (std::vector<std::wstring>{L"Vorlind", L"Version 2.0", labels[2].first, TextOf(link), labels[3].first,
                                             labels[4].first}));

  PostMessageW(about, WM_SYSCOMMAND, SC_CLOSE, 0);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(about); })) << "the close box unloads";
  EXPECT_TRUE(WaitUntil([&] { return IsWindowEnabled(main) != FALSE; }));

  // Created afresh on every showing, so centred over where the main window is now.
  MoveMain(20, 10);
  about = OpenAbout();
  ASSERT_TRUE(about);
  ExpectCentredOver(about, MainRect());
  RECT r;
  GetWindowRect(about, &r);
  EXPECT_LT(r.top, 10) << "taller than the main window, so it reaches above it; nothing clamps it";
}

TEST_F(Dialogs, ClosingTheMainWindowWithAHiddenDialogLeavesNothingBehind) {
  HWND dialog = OpenOptions();
  ASSERT_TRUE(dialog);
  AltKey(L'a');
  ASSERT_TRUE(Gone(dialog));
  PostMessageW(main, WM_SYSCOMMAND, SC_CLOSE, 0);
  EXPECT_TRUE(process->WaitForExit());
}

// A copy of the program in a folder of its own, without LinkLabel.dll.
class Copy {
 public:
  explicit Copy(const wchar_t* name) : folder_(TestsFolder() + L"\\" + name) {
    CreateDirectoryW(folder_.c_str(), nullptr);
    CopyFileW(VorlindPath().c_str(), Exe().c_str(), FALSE);
  }
  ~Copy() {
    DeleteFileW(Exe().c_str());
    RemoveDirectoryW(folder_.c_str());
  }
  std::wstring Exe() const { return folder_ + L"\\Vorlind.exe"; }

 private:
  std::wstring folder_;
};

TEST_F(Dialogs, LinkLabelLoadsOnlyFromTheProgramsFolderAndItsAbsenceIsARunTimeError) {
  Copy lonely(L"without-linklabel");
  // The current folder holds a LinkLabel.dll: it must not be the one loaded.
  Start(Quoted(lonely.Exe()), BinFolder());
  HWND box = ChooseMenu(process->Id(), main, L'i', L'v', L"Vorlind");
  ASSERT_TRUE(box) << "no error message";
  std::wstring message;
  for (HWND child : Children(box)) message += TextOf(child);
  EXPECT_NE(message.find(L"Laufzeitfehler"), std::wstring::npos) << message;
  EXPECT_NE(message.find(L"LinkLabel.dll"), std::wstring::npos) << message;
  Foreground(box);
  PressKey(VK_RETURN);
  EXPECT_TRUE(process->WaitForExit());
  EXPECT_NE(process->ExitCode(), 0u);
}

TEST_F(Dialogs, AProgramAtADriveRootRegistersItsPathWithOneBackslash) {
  // The test prefix maps drive R: to a folder of the build.
  for (const wchar_t* file : {L"\\Vorlind.exe", L"\\LinkLabel.dll"})
    ASSERT_TRUE(CopyFileW((BinFolder() + file).c_str(), (std::wstring(L"R:") + file).c_str(), FALSE));
  Start(LR"("R:\Vorlind.exe")");
  HWND dialog = OpenOptions();
  ASSERT_TRUE(dialog);
  AltKey(L'c');
  Apply(dialog);
  ASSERT_TRUE(Gone(dialog));
  EXPECT_EQ(RegisteredCommand(L"comfile"), LR"("R:\Vorlind.exe" "%1")");
}

TEST_F(Dialogs, RoundTripFromRegistrationToAStartedProgram) {
  HWND dialog = OpenOptions();
  ASSERT_TRUE(dialog);
  AltKey(L'e');
  Apply(dialog);
  ASSERT_TRUE(Gone(dialog));
  std::wstring command = RegisteredCommand(L"exefile");
  ASSERT_EQ(command, Quoted(VorlindPath()) + L" \"%1\"");

  // What the shell does with the verb for a clicked file.
  command.replace(command.find(L"%1"), 2, RecorderPath());
  const std::wstring record = FreshRecordPath();
  Process shellStarted(command);
  HWND second = WaitForWindow(shellStarted.Id(), L"Kommandozeile");
  ASSERT_TRUE(second);
  HWND text = Child(second, L"Edit");
  EXPECT_EQ(TextOf(text), Quoted(RecorderPath()));
  ASSERT_TRUE(Foreground(second));
  TypeText(L" /schnell");
  PressKey(VK_RETURN);
  EXPECT_EQ(WaitForRecord(record), Quoted(RecorderPath()) + L" /schnell");
  EXPECT_TRUE(shellStarted.WaitForExit());
}

}  // namespace
