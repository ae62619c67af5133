// The registry module against the real registry of the throwaway prefix,
// under keys of its own that each test clears first.
#include <gtest/gtest.h>
#include <windows.h>

#include "registry/KeysAndValues.h"
#include "registry/Registry.h"
#include "registry_dump.h"

using driver::DefaultValue;
using driver::DumpTree;
using driver::KeyExists;
using registry::KeyRecord;
using registry::ValueRecord;

namespace {

constexpr wchar_t kTestKey[] = L"VorlindRegistryTest";
constexpr wchar_t kExtension[] = L".vorlindtest";
constexpr wchar_t kFileType[] = L"vorlindtestfile";
constexpr wchar_t kCommand[] = LR"("C:\Tools\Vorlind.exe" "%1")";

class RealRegistry : public testing::Test {
 protected:
  void SetUp() override { Clear(); }
  void TearDown() override { Clear(); }
  static void Clear() {
    for (const wchar_t* key : {kTestKey, kExtension, kFileType}) RegDeleteTreeW(HKEY_CLASSES_ROOT, key);
  }
  static KeyRecord Key(const std::wstring& sub) { return KeyRecord{platform::kClassesRoot, sub}; }
  static bool Register(const wchar_t* description = L"", const wchar_t* icon = L"", const wchar_t* command = kCommand) {
    return registry::RegisterVerb(kExtension, kFileType, description, icon, L"Kommandozeile", command);
  }
  static std::wstring Both() {
    return DumpTree(HKEY_CLASSES_ROOT, kExtension) + DumpTree(HKEY_CLASSES_ROOT, kFileType);
  }
  platform::RegistryCalls& calls = platform::SystemRegistry();
};

TEST_F(RealRegistry, CreateKeyMakesAKeyAndKeepsAnExistingOnesValues) {
  ASSERT_TRUE(registry::CreateKey(calls, Key(std::wstring(kTestKey) + L"\\a\\b")));
  EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, std::wstring(kTestKey) + L"\\a\\b"));
  ASSERT_EQ(RegSetKeyValueW(HKEY_CLASSES_ROOT, kTestKey, L"keep", REG_SZ, L"me", 6), ERROR_SUCCESS);
  EXPECT_TRUE(registry::CreateKey(calls, Key(kTestKey)));
  EXPECT_NE(DumpTree(HKEY_CLASSES_ROOT, kTestKey).find(L"\"keep\" type 1 = me"), std::wstring::npos);
}

TEST_F(RealRegistry, SetValueWritesIntoExistingKeysOnly) {
  const std::wstring missing = std::wstring(kTestKey) + L"\\missing";
  EXPECT_FALSE(registry::SetValue(calls, Key(missing), L"", ValueRecord{1, 1, L"x"}));
  EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, missing));

  ASSERT_TRUE(registry::CreateKey(calls, Key(kTestKey)));
  EXPECT_TRUE(registry::SetValue(calls, Key(kTestKey), L"", ValueRecord{1, 9, L"Standard\u00fc"}));
  EXPECT_EQ(DefaultValue(HKEY_CLASSES_ROOT, kTestKey), L"Standard\u00fc");

  ValueRecord number{4, 4};
  number.Number = 1;
  ValueRecord byte{3, 1};
  byte.Byte = 0x7F;
  EXPECT_TRUE(registry::SetValue(calls, Key(kTestKey), L"Zahl", number));
  EXPECT_TRUE(registry::SetValue(calls, Key(kTestKey), L"Byte", byte));
  EXPECT_TRUE(registry::SetValue(calls, Key(kTestKey), L"Leer", ValueRecord{1, 0, L""}));
  DWORD dword = 0, size = sizeof dword, type = 0;
  EXPECT_EQ(RegGetValueW(HKEY_CLASSES_ROOT, kTestKey, L"Zahl", RRF_RT_REG_DWORD, &type, &dword, &size), ERROR_SUCCESS);
  EXPECT_EQ(dword, 1u);
  BYTE data[8];
  HKEY key;
  ASSERT_EQ(RegOpenKeyExA(HKEY_CLASSES_ROOT, "VorlindRegistryTest", 0, KEY_READ, &key), ERROR_SUCCESS);
  size = sizeof data;
  EXPECT_EQ(RegQueryValueExA(key, "Byte", nullptr, &type, data, &size), ERROR_SUCCESS);
  EXPECT_EQ(type, static_cast<DWORD>(REG_BINARY));
  EXPECT_EQ(size, 1u);
  EXPECT_EQ(data[0], 0x7F);
  size = sizeof data;
  EXPECT_EQ(RegQueryValueExA(key, "Leer", nullptr, &type, data, &size), ERROR_SUCCESS);
  EXPECT_EQ(size, 1u);  // the empty string: just its terminating zero
  RegCloseKey(key);
}

TEST_F(RealRegistry, TextTheCodePageCannotHoldIsNotWritten) {
  ASSERT_TRUE(registry::CreateKey(calls, Key(kTestKey)));
  EXPECT_FALSE(registry::SetValue(calls, Key(kTestKey), L"", ValueRecord{1, 6, L"\u041f\u0430\u043f\u043a\u0430"}));
  EXPECT_EQ(DefaultValue(HKEY_CLASSES_ROOT, kTestKey), L"<none>");
  EXPECT_FALSE(registry::CreateKey(calls, Key(std::wstring(kTestKey) + L"\\\u4e2d")));
  EXPECT_EQ(DumpTree(HKEY_CLASSES_ROOT, kTestKey), L"[VorlindRegistryTest]\n");
}

TEST_F(RealRegistry, RegisterVerbWritesExactlyTheDocumentedKeys) {
  ASSERT_TRUE(Register());
  EXPECT_EQ(Both(),
            L"[.vorlindtest]\n  \"\" type 1 = vorlindtestfile\n"
            L"[vorlindtestfile]\n"
            L"[vorlindtestfile\\DefaultIcon]\n"
            L"[vorlindtestfile\\Shell]\n"
            L"[vorlindtestfile\\Shell\\Kommandozeile]\n"
            L"[vorlindtestfile\\Shell\\Kommandozeile\\command]\n"
            L"  \"\" type 1 = \"C:\\Tools\\Vorlind.exe\" \"%1\"\n");
}

TEST_F(RealRegistry, RegisteringTwiceEqualsOnceWithTheLatestCommand) {
  ASSERT_TRUE(Register(L"", L"", LR"("C:\Old\Vorlind.exe" "%1")"));
  ASSERT_TRUE(Register());
  const std::wstring twice = Both();
  Clear();
  ASSERT_TRUE(Register());
  EXPECT_EQ(twice, Both());
}

TEST_F(RealRegistry, ExistingDescriptionIconAndMenuTextStayUntouched) {
  RegSetKeyValueW(HKEY_CLASSES_ROOT, kFileType, nullptr, REG_SZ, L"Testdatei", 20);
  RegSetKeyValueW(HKEY_CLASSES_ROOT, L"vorlindtestfile\\DefaultIcon", nullptr, REG_SZ, L"%1", 6);
  RegSetKeyValueW(HKEY_CLASSES_ROOT, L"vorlindtestfile\\Shell\\Kommandozeile", nullptr, REG_SZ, L"&Kommandozeile", 30);
  ASSERT_TRUE(Register());
  EXPECT_EQ(DefaultValue(HKEY_CLASSES_ROOT, kFileType), L"Testdatei");
  EXPECT_EQ(DefaultValue(HKEY_CLASSES_ROOT, L"vorlindtestfile\\DefaultIcon"), L"%1");
  EXPECT_EQ(DefaultValue(HKEY_CLASSES_ROOT, L"vorlindtestfile\\Shell\\Kommandozeile"), L"&Kommandozeile");
  EXPECT_EQ(DefaultValue(HKEY_CLASSES_ROOT, L"vorlindtestfile\\Shell\\Kommandozeile\\command"), kCommand);

  // Given a description and icon, they are written.
  ASSERT_TRUE(Register(L"Neue Beschreibung", L"C:\\icon.ico,0"));
  EXPECT_EQ(DefaultValue(HKEY_CLASSES_ROOT, kFileType), L"Neue Beschreibung");
  EXPECT_EQ(DefaultValue(HKEY_CLASSES_ROOT, L"vorlindtestfile\\DefaultIcon"), L"C:\\icon.ico,0");
}

}  // namespace
