#pragma once
// A registry that records every call as a line of text and can fail any one
// of them. Its code page holds Latin-1 in one byte and Hiragana in two (like
// a double-byte code page); anything else cannot be represented.
#include <algorithm>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/registry_calls.h"

class FakeRegistry : public platform::RegistryCalls {
 public:
  std::vector<std::string> calls;
  int failCall = -1;                                         // index into calls of the one to fail
  std::string failWhen;                                      // or: fail every call whose line contains this
  std::vector<std::string> failWhenAny;                      // or any of these
  std::map<std::string, std::vector<std::uint8_t>> written;  // "key|name" -> data

  std::optional<std::string> ToAnsi(std::wstring_view text) const override {
    std::string out;
    for (wchar_t c : text) {
      if (c < 0x100) {
        out += static_cast<char>(c);
      } else if (c >= 0x3040 && c <= 0x309F) {
        out += static_cast<char>(0x82);
        out += static_cast<char>(c - 0x3040 + 0x9F);
      } else {
        return std::nullopt;
      }
    }
    return out;
  }

  platform::RegistryStatus CreateKeyEx(std::uint32_t root, const char* subKey, std::uint32_t reserved,
                                       const char* keyClass, std::uint32_t options, std::uint32_t access,
                                       const void* security, platform::RegistryKey* key,
                                       std::uint32_t* disposition) override {
    *key = Open(subKey);
    if (disposition) *disposition = 1;
    return Record("create " + Hex(root) + " " + subKey + " reserved=" + std::to_string(reserved) + " class=" +
                  (keyClass ? "\"" + std::string(keyClass) + "\"" : "null") + " options=" + std::to_string(options) +
                  " access=" + Hex(access) + " security=" + (security ? "set" : "null"));
  }

  platform::RegistryStatus OpenKeyEx(std::uint32_t root, const char* subKey, std::uint32_t options,
                                     std::uint32_t access, platform::RegistryKey* key) override {
    *key = Open(subKey);
    return Record("open " + Hex(root) + " " + subKey + " options=" + std::to_string(options) +
                  " access=" + Hex(access));
  }

  platform::RegistryStatus SetValueEx(platform::RegistryKey key, const char* name, std::uint32_t reserved,
                                      std::uint32_t type, const std::uint8_t* data, std::uint32_t size) override {
    const platform::RegistryStatus status =
        Record("set " + keys_.at(key) + " name=\"" + name + "\" reserved=" + std::to_string(reserved) +
               " type=" + std::to_string(type) + " size=" + std::to_string(size));
    if (status == 0) written[keys_.at(key) + "|" + name] = std::vector<std::uint8_t>(data, data + size);
    return status;
  }

  platform::RegistryStatus CloseKey(platform::RegistryKey key) override { return Record("close " + keys_.at(key)); }

  // The string data written as the default value of a key, without its zero.
  std::string DefaultText(const std::string& key) const {
    const auto& data = written.at(key + "|");
    return std::string(data.begin(), data.end() - 1);
  }

 private:
  static std::string Hex(std::uint32_t v) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "0x%X", static_cast<unsigned>(v));
    return buffer;
  }

  platform::RegistryKey Open(const char* subKey) {
    const platform::RegistryKey key = next_++;
    keys_[key] = subKey;
    return key;
  }

  platform::RegistryStatus Record(std::string line) {
    const bool fail = static_cast<int>(calls.size()) == failCall ||
                      (!failWhen.empty() && line.find(failWhen) != std::string::npos) ||
                      std::any_of(failWhenAny.begin(), failWhenAny.end(),
                                  [&](const std::string& s) { return line.find(s) != std::string::npos; });
    calls.push_back(std::move(line));
    return fail ? 5 : 0;  // 5: access denied
  }

  std::map<platform::RegistryKey, std::string> keys_;
  platform::RegistryKey next_ = 0x1000;
};
