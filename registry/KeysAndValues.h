#pragma once
// Registry keys and values as plain records, and the two operations on them.
// Each operation opens and closes its own key and reports only whether it
// worked. OpenKey closes a key opened elsewhere on every path.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/registry_calls.h"

namespace registry {

struct KeyRecord {
  std::uint32_t Root;   // a predefined root key, e.g. platform::kClassesRoot
  std::wstring SubKey;  // below the root, parts separated by "\"
};

inline constexpr std::int32_t kString = 1;        // REG_SZ
inline constexpr std::int32_t kExpandString = 2;  // REG_EXPAND_SZ
inline constexpr std::int32_t kBinary = 3;        // REG_BINARY
inline constexpr std::int32_t kNumber = 4;        // REG_DWORD

struct ValueRecord {
  std::int32_t Type = kString;
  std::int32_t Length = 0;  // characters of Text; data size for types 3 and 4
  std::wstring Text;
  std::int32_t Number = 0;
  std::uint8_t Byte = 0;
};

// A text as the wide registry functions store a string: UTF-16 code units,
// little-endian, with the terminating zero.
std::vector<std::uint8_t> Utf16Data(std::wstring_view text);

// Closes the key on every path; Close() hands back the status once.
class OpenKey {
 public:
  OpenKey(platform::RegistryCalls& calls, platform::RegistryKey key) : calls_(calls), key_(key) {}
  ~OpenKey() {
    if (open_) calls_.CloseKey(key_);
  }
  OpenKey(const OpenKey&) = delete;
  OpenKey& operator=(const OpenKey&) = delete;

  platform::RegistryKey Get() const { return key_; }
  bool Close() {
    open_ = false;
    return calls_.CloseKey(key_) == 0;
  }

 private:
  platform::RegistryCalls& calls_;
  platform::RegistryKey key_;
  bool open_ = true;
};

// True when the key exists afterwards and its handle was closed again.
bool CreateKey(platform::RegistryCalls& calls, const KeyRecord& key);

// Writes one value into an existing key; the empty name is the key's default
// value. True when the open, the write (if any) and the close all worked. A
// type outside 1 to 4 writes nothing and counts as done.
bool SetValue(platform::RegistryCalls& calls, const KeyRecord& key, std::wstring_view valueName,
              const ValueRecord& value);

}  // namespace registry
