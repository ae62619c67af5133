#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fake_registry.h"
#include "registry/KeysAndValues.h"
#include "registry/Registry.h"

using registry::CreateKey;
using registry::KeyRecord;
using registry::SetValue;
using registry::ValueRecord;
using Lines = std::vector<std::string>;

namespace {

const KeyRecord kKey{platform::kClassesRoot, L"exefile\\Shell"};

std::string Create(const std::string& key) {
  return "create 0x80000000 " + key + " reserved=0 class=\"\" options=0 access=0x20017 security=null";
}
std::string Open(const std::string& key) { return "open 0x80000000 " + key + " options=0 access=0x20013"; }
std::string Set(const std::string& key, int size) {
  return "set " + key + " name=\"\" reserved=0 type=1 size=" + std::to_string(size);
}
std::string Close(const std::string& key) { return "close " + key; }

Lines VerbCalls(const std::string& ext, const std::string& type, int commandSize) {
  const std::string verb = type + "\\Shell\\Kommandozeile";
  return {Create(ext),
          Close(ext),
          Open(ext),
          Set(ext, int(type.size()) + 1),
          Close(ext),
          Create(type),
          Close(type),
          Create(type + "\\DefaultIcon"),
          Close(type + "\\DefaultIcon"),
          Create(type + "\\Shell"),
          Close(type + "\\Shell"),
          Create(verb),
          Close(verb),
          Create(verb + "\\command"),
          Close(verb + "\\command"),
          Open(verb + "\\command"),
          Set(verb + "\\command", commandSize),
          Close(verb + "\\command")};
}

const wchar_t kCommand[] = LR"("C:\Tools\Vorlind.exe" "%1")";

bool RegisterExe(FakeRegistry& fake) {
  return registry::RegisterVerb(fake, L".exe", L"exefile", L"", L"", L"Kommandozeile", kCommand);
}

TEST(RegisterVerb, MakesExactlyTheDocumentedCallsForEveryFileType) {
  const char* types[][2] = {
      {".exe", "exefile"}, {".com", "comfile"}, {".bat", "batfile"}, {".pif", "piffile"}, {".lnk", "lnkfile"}};
  for (const auto& [ext, type] : types) {
    FakeRegistry fake;
    const std::wstring wext(ext, ext + 4), wtype(type, type + 7);
    EXPECT_TRUE(registry::RegisterVerb(fake, wext, wtype, L"", L"", L"Kommandozeile", kCommand));
    EXPECT_EQ(fake.calls, VerbCalls(ext, type, 28)) << ext;
    EXPECT_EQ(fake.DefaultText(ext), type);
    EXPECT_EQ(fake.DefaultText(std::string(type) + "\\Shell\\Kommandozeile\\command"),
              R"("C:\Tools\Vorlind.exe" "%1")");
  }
}

TEST(RegisterVerb, WritesDescriptionAndIconOnlyWhenGiven) {
  FakeRegistry fake;
  EXPECT_TRUE(registry::RegisterVerb(fake, L".exe", L"exefile", L"Anwendung", L"%1", L"Kommandozeile", kCommand));
  EXPECT_EQ(fake.DefaultText("exefile"), "Anwendung");
  EXPECT_EQ(fake.DefaultText("exefile\\DefaultIcon"), "%1");
  EXPECT_EQ(fake.calls.size(), VerbCalls(".exe", "exefile", 28).size() + 6);
}

TEST(RegisterVerb, StopsAtTheFirstFailedCallAndReportsFalse) {
  const size_t total = VerbCalls(".exe", "exefile", 28).size();
  for (size_t failing = 0; failing < total; ++failing) {
    FakeRegistry fake;
    fake.failCall = static_cast<int>(failing);
    EXPECT_FALSE(RegisterExe(fake)) << "failing call " << failing;
    // A failed create or open has no handle to close; a failed write still
    // closes its key; after that nothing more happens.
    const std::string& failed = fake.calls.at(failing);
    const bool closesAfter = failed.rfind("set ", 0) == 0;
    EXPECT_EQ(fake.calls.size(), failing + 1 + (closesAfter ? 1 : 0)) << failed;
  }
}

TEST(RegisterVerb, WritesNothingAtAllWhenAnyTextIsBeyondTheCodePage) {
  // A program folder in Cyrillic, or any other text the code page cannot
  // hold: not one key is created, so no menu entry without its command.
  const std::wstring cyrillic = L"\u041f\u0440\u043e";
  const std::wstring command = L"\"C:\\" + cyrillic + L"\\Vorlind.exe\" \"%1\"";
  const std::wstring args[][6] = {
      {L".exe", L"exefile", L"", L"", L"Kommandozeile", command},
      {L"." + cyrillic, L"exefile", L"", L"", L"Kommandozeile", kCommand},
      {L".exe", cyrillic, L"", L"", L"Kommandozeile", kCommand},
      {L".exe", L"exefile", cyrillic, L"", L"Kommandozeile", kCommand},
      {L".exe", L"exefile", L"", cyrillic, L"Kommandozeile", kCommand},
      {L".exe", L"exefile", L"", L"", cyrillic, kCommand},
  };
  for (const auto& a : args) {
    FakeRegistry fake;
    EXPECT_FALSE(registry::RegisterVerb(fake, a[0], a[1], a[2], a[3], a[4], a[5]));
    EXPECT_TRUE(fake.calls.empty()) << fake.calls.size() << " calls, the first: " << fake.calls.front();
  }
}

TEST(CreateKey, ClosesTheKeyAndReportsTheClose) {
  FakeRegistry fake;
  EXPECT_TRUE(CreateKey(fake, kKey));
  EXPECT_EQ(fake.calls, (Lines{Create("exefile\\Shell"), Close("exefile\\Shell")}));

  FakeRegistry failingClose;
  failingClose.failWhen = "close";
  EXPECT_FALSE(CreateKey(failingClose, kKey));

  FakeRegistry unrepresentable;
  EXPECT_FALSE(CreateKey(unrepresentable, KeyRecord{platform::kClassesRoot, L"\u0416"}));
  EXPECT_TRUE(unrepresentable.calls.empty());
}

TEST(SetValue, WritesTheDataAndSizeOfEachType) {
  struct Case {
    ValueRecord value;
    std::vector<std::uint8_t> data;
  };
  ValueRecord text{1, 5, L"Hallo"}, empty{1, 0, L""}, expand{2, 6, L"%Path%"}, byte{3, 1}, number{4, 4},
      umlaut{1, 5, L"\u00dcber"}, multiByte{1, 2, L"\u3042\u3044"};
  byte.Byte = 0xAB;
  number.Number = 0x01020304;
  const Case cases[] = {
      {text, {'H', 'a', 'l', 'l', 'o', 0}},
      {empty, {0}},
      {expand, {'%', 'P', 'a', 't', 'h', '%', 0}},
      {byte, {0xAB}},
      {number, {4, 3, 2, 1}},
      {umlaut, {0xDC, 'b', 'e', 'r', 0}},
      // Two characters, four bytes: the size counts bytes, not characters.
      {multiByte, {0x82, 0xA1, 0x82, 0xA3, 0}},
  };
  for (const Case& c : cases) {
    FakeRegistry fake;
    EXPECT_TRUE(SetValue(fake, kKey, L"", c.value));
    ASSERT_EQ(fake.calls.size(), 3u);
    EXPECT_EQ(fake.calls[0], Open("exefile\\Shell"));
    EXPECT_EQ(fake.calls[1], "set exefile\\Shell name=\"\" reserved=0 type=" + std::to_string(c.value.Type) +
                                 " size=" + std::to_string(c.data.size()));
    EXPECT_EQ(fake.calls[2], Close("exefile\\Shell"));
    EXPECT_EQ(fake.written.at("exefile\\Shell|"), c.data);
  }
}

TEST(SetValue, NamedValuesAndUnknownTypes) {
  FakeRegistry named;
  EXPECT_TRUE(SetValue(named, kKey, L"Zahl", ValueRecord{4, 4, L"", 1}));
  EXPECT_EQ(named.written.at("exefile\\Shell|Zahl"), (std::vector<std::uint8_t>{1, 0, 0, 0}));

  for (int type : {0, 5, -1}) {
    FakeRegistry fake;
    EXPECT_TRUE(SetValue(fake, kKey, L"", ValueRecord{type, 3, L"abc"})) << type;
    EXPECT_EQ(fake.calls, (Lines{Open("exefile\\Shell"), Close("exefile\\Shell")})) << type;
  }
}

TEST(SetValue, NeverReadsBeyondTheFieldWhateverLengthSays) {
  FakeRegistry fake;
  ValueRecord byte{3, 1000};
  byte.Byte = 7;
  EXPECT_TRUE(SetValue(fake, kKey, L"", byte));
  EXPECT_EQ(fake.written.at("exefile\\Shell|"), (std::vector<std::uint8_t>{7}));
  ValueRecord number{4, -1};
  EXPECT_TRUE(SetValue(fake, kKey, L"n", number));
  EXPECT_TRUE(fake.written.at("exefile\\Shell|n").empty());
}

TEST(SetValue, ReportsEveryFailureAndAlwaysClosesAnOpenKey) {
  const ValueRecord text{1, 1, L"x"};
  FakeRegistry openFails;
  openFails.failWhen = "open";
  EXPECT_FALSE(SetValue(openFails, kKey, L"", text));
  EXPECT_EQ(openFails.calls.size(), 1u);  // no handle: nothing to close

  FakeRegistry writeFails;
  writeFails.failWhen = "set";
  EXPECT_FALSE(SetValue(writeFails, kKey, L"", text));
  EXPECT_EQ(writeFails.calls.back(), Close("exefile\\Shell"));

  FakeRegistry closeFails;  // the value is stored, yet the result is false
  closeFails.failWhen = "close";
  EXPECT_FALSE(SetValue(closeFails, kKey, L"", text));
  EXPECT_EQ(closeFails.DefaultText("exefile\\Shell"), "x");
}

TEST(SetValue, WritesNothingForTextTheCodePageCannotHold) {
  for (const auto& [name, text] : {std::pair{L"", L"\u041f\u0430\u043f\u043a\u0430"}, std::pair{L"\u4e2d", L"x"}}) {
    FakeRegistry fake;
    EXPECT_FALSE(SetValue(fake, kKey, name, ValueRecord{1, 5, text}));
    EXPECT_TRUE(fake.calls.empty());
  }
  FakeRegistry badKey;
  EXPECT_FALSE(SetValue(badKey, KeyRecord{platform::kClassesRoot, L"\u4e2d"}, L"", ValueRecord{1, 1, L"x"}));
  EXPECT_TRUE(badKey.calls.empty());
}

}  // namespace
