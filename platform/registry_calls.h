#pragma once
// The registry functions the program uses, behind an interface so that tests
// can record every call and make any of them fail. The real implementation
// calls the ANSI forms of the Win32 functions.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace platform {

using RegistryKey = std::uintptr_t;  // an open key handle
using RegistryStatus = long;         // 0 for success, as the platform returns it

inline constexpr std::uint32_t kClassesRoot = 0x80000000;

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
};

// The system's registry.
RegistryCalls& SystemRegistry();

}  // namespace platform
