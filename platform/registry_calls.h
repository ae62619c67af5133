#pragma once
// The registry functions the program uses, behind an interface so that tests
// can record every call and make any of them fail. The machine's classes
// are written with the ANSI forms of the Win32 functions;
// the current user's keys with the wide forms, which hold any text.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace platform {

using RegistryKey = std::uintptr_t;  // an open key handle
using RegistryStatus = long;         // 0 for success, as the platform returns it

inline constexpr std::uint32_t kClassesRoot = 0x80000000;
inline constexpr std::uint32_t kCurrentUser = 0x80000001;
inline constexpr std::uint32_t kLocalMachine = 0x80000002;

// Status codes the program tells apart.
inline constexpr RegistryStatus kRegistryNotFound = 2;       // ERROR_FILE_NOT_FOUND
inline constexpr RegistryStatus kRegistryMoreData = 234;     // ERROR_MORE_DATA
inline constexpr RegistryStatus kRegistryNoMoreItems = 259;  // ERROR_NO_MORE_ITEMS

// Value types of the wide calls.
inline constexpr std::uint32_t kRegString = 1;       // REG_SZ
inline constexpr std::uint32_t kRegMultiString = 7;  // REG_MULTI_SZ

class RegistryCalls {
 public:
  virtual ~RegistryCalls() = default;

  // The text in the ANSI code page; nothing when the code page cannot hold it
  // exactly (a character would be replaced by another).
  virtual std::optional<std::string> ToAnsi(std::wstring_view text) const = 0;

  virtual RegistryStatus CreateKeyEx(std::uint32_t root, const char* subKey, std::uint32_t reserved,
                                     const char* keyClass, std::uint32_t options, std::uint32_t access,
                                     const void* security, RegistryKey* key, std::uint32_t* disposition) = 0;
  virtual RegistryStatus OpenKeyEx(std::uint32_t root, const char* subKey, std::uint32_t options, std::uint32_t access,
                                   RegistryKey* key) = 0;
  virtual RegistryStatus SetValueEx(RegistryKey key, const char* name, std::uint32_t reserved, std::uint32_t type,
                                    const std::uint8_t* data, std::uint32_t size) = 0;
  virtual RegistryStatus CloseKey(RegistryKey key) = 0;

  // The wide forms. CreateKeyW creates the missing keys of the path with the
  // default security; OpenKeyW opens an existing one.
  virtual RegistryStatus CreateKeyW(std::uint32_t root, const wchar_t* subKey, std::uint32_t access,
                                    RegistryKey* key) = 0;
  virtual RegistryStatus OpenKeyW(std::uint32_t root, const wchar_t* subKey, std::uint32_t access,
                                  RegistryKey* key) = 0;
  virtual RegistryStatus SetValueW(RegistryKey key, const wchar_t* name, std::uint32_t type, const std::uint8_t* data,
                                   std::uint32_t size) = 0;
  // Reads up to *size bytes; *size is then the value's size. kRegistryMoreData
  // when it does not fit (nothing is read), as the platform answers.
  virtual RegistryStatus QueryValueW(RegistryKey key, const wchar_t* name, std::uint32_t* type, std::uint8_t* data,
                                     std::uint32_t* size) = 0;
  virtual RegistryStatus DeleteValueW(RegistryKey key, const wchar_t* name) = 0;
  // The name of the key's value at the index; kRegistryNoMoreItems past the
  // last one. The key must not change while its values are counted through.
  virtual RegistryStatus ValueNameW(RegistryKey key, std::uint32_t index, std::wstring& name) = 0;
  // Whether two names name the same value or key: the registry ignores
  // letter case across Unicode, as CompareStringOrdinal does.
  virtual bool SameName(std::wstring_view a, std::wstring_view b) const = 0;
  // Deletes the key with everything below it.
  virtual RegistryStatus DeleteTreeW(std::uint32_t root, const wchar_t* subKey) = 0;

  // Tells the shell that file associations changed, so that Explorer shows
  // a new context-menu entry at once.
  virtual void AssociationsChanged() = 0;
};

// The system's registry.
RegistryCalls& SystemRegistry();

}  // namespace platform
