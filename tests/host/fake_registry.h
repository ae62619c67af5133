#pragma once
// A registry that records every call as a line of text and can fail any one
// of them. Its code page holds Latin-1 in one byte and Hiragana in two (like
// a double-byte code page); anything else cannot be represented. The wide
// calls keep a small registry of their own (keys and values compared without
// regard to case, as the platform does), so what is written can be read back.
// Its letter case is the platform's in ASCII, Latin-1, Latin Extended-A,
// Greek and Cyrillic; letters without a case pair (ß, ĸ) equal only themselves.
#include <algorithm>
#include <cstdint>
#include <map>
#include <optional>
#include <set>
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

  struct WideValue {
    std::uint32_t type;
    std::vector<std::uint8_t> data;
  };
  std::set<std::wstring> wideKeys;               // "root\path", lower case
  std::map<std::wstring, WideValue> wideValues;  // "root\path|name", lower case

  platform::RegistryStatus CreateKeyW(std::uint32_t root, const wchar_t* subKey, std::uint32_t access,
                                      platform::RegistryKey* key) override {
    *key = Open(Utf8(subKey).c_str());
    wideOpen_[*key] = Path(root, subKey);
    const platform::RegistryStatus status =
        Record("createW " + Hex(root) + " " + Utf8(subKey) + " access=" + Hex(access));
    if (status == 0)
      for (std::wstring path = Path(root, subKey);; path.resize(path.rfind(L'\\'))) {
        wideKeys.insert(path);
        if (path.rfind(L'\\') == std::wstring::npos) break;
      }
    return status;
  }

  platform::RegistryStatus OpenKeyW(std::uint32_t root, const wchar_t* subKey, std::uint32_t access,
                                    platform::RegistryKey* key) override {
    *key = Open(Utf8(subKey).c_str());
    wideOpen_[*key] = Path(root, subKey);
    const platform::RegistryStatus status =
        Record("openW " + Hex(root) + " " + Utf8(subKey) + " access=" + Hex(access));
    if (status != 0) return status;
    return wideKeys.count(Path(root, subKey)) ? 0 : platform::kRegistryNotFound;
  }

  platform::RegistryStatus SetValueW(platform::RegistryKey key, const wchar_t* name, std::uint32_t type,
                                     const std::uint8_t* data, std::uint32_t size) override {
    const platform::RegistryStatus status = Record("setW " + keys_.at(key) + " name=\"" + Utf8(name) +
                                                   "\" type=" + std::to_string(type) + " size=" + std::to_string(size));
    if (status == 0) wideValues[ValueKey(key, name)] = {type, std::vector<std::uint8_t>(data, data + size)};
    return status;
  }

  platform::RegistryStatus QueryValueW(platform::RegistryKey key, const wchar_t* name, std::uint32_t* type,
                                       std::uint8_t* data, std::uint32_t* size) override {
    const platform::RegistryStatus status = Record("queryW " + keys_.at(key) + " name=\"" + Utf8(name) + "\"");
    if (status != 0) return status;
    const auto found = wideValues.find(ValueKey(key, name));
    if (found == wideValues.end()) return platform::kRegistryNotFound;
    *type = found->second.type;
    const auto n = static_cast<std::uint32_t>(found->second.data.size());
    const bool fits = data && *size >= n;
    *size = n;
    if (!fits) return data ? platform::kRegistryMoreData : 0;
    std::copy(found->second.data.begin(), found->second.data.end(), data);
    return 0;
  }

  platform::RegistryStatus DeleteValueW(platform::RegistryKey key, const wchar_t* name) override {
    const platform::RegistryStatus status = Record("deleteValueW " + keys_.at(key) + " name=\"" + Utf8(name) + "\"");
    if (status != 0) return status;
    return wideValues.erase(ValueKey(key, name)) ? 0 : platform::kRegistryNotFound;
  }

  platform::RegistryStatus ValueNameW(platform::RegistryKey key, std::uint32_t index, std::wstring& name) override {
    const std::wstring prefix = Lower(wideOpen_.at(key) + L"|");  // names come back folded: they compare the same
    for (const auto& value : wideValues)
      if (value.first.rfind(prefix, 0) == 0 && index-- == 0) {
        name = value.first.substr(prefix.size());
        return Record("valueNameW " + keys_.at(key) + " " + Utf8(name));
      }
    return platform::kRegistryNoMoreItems;
  }

  bool SameName(std::wstring_view a, std::wstring_view b) const override {
    return Lower(std::wstring(a)) == Lower(std::wstring(b));
  }

  // A letter as names compare it: the lower case of a pair.
  static wchar_t Folded(wchar_t c) {
    const bool evenUpper = (c >= 0x100 && c <= 0x137) || (c >= 0x14A && c <= 0x177);
    const bool oddUpper = (c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E);
    if ((evenUpper && c % 2 == 0) || (oddUpper && c % 2 == 1)) return static_cast<wchar_t>(c + 1);
    if ((c >= L'A' && c <= L'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7) || (c >= 0x391 && c <= 0x3AB) ||
        (c >= 0x410 && c <= 0x42F))
      return static_cast<wchar_t>(c + 0x20);
    return c >= 0x400 && c <= 0x40F ? static_cast<wchar_t>(c + 0x50) : c;
  }

  platform::RegistryStatus DeleteTreeW(std::uint32_t root, const wchar_t* subKey) override {
    const platform::RegistryStatus status = Record("deleteTreeW " + Hex(root) + " " + Utf8(subKey));
    if (status != 0) return status;
    const std::wstring path = Path(root, subKey);
    if (!wideKeys.count(path)) return platform::kRegistryNotFound;
    const auto below = [&](const std::wstring& p) {
      return p == path || p.rfind(path + L"\\", 0) == 0 || p.rfind(path + L"|", 0) == 0;
    };
    std::erase_if(wideKeys, below);
    std::erase_if(wideValues, [&](const auto& v) { return below(v.first); });
    return 0;
  }

  int associationsChanged = 0;
  void AssociationsChanged() override {
    ++associationsChanged;
    calls.push_back("associations changed");
  }

  // The text of a wide REG_SZ value, or nothing.
  std::optional<std::wstring> WideText(std::uint32_t root, const std::wstring& key,
                                       const std::wstring& name = L"") const {
    const auto found = wideValues.find(Lower(Path(root, key.c_str()) + L"|" + name));
    if (found == wideValues.end() || found->second.data.size() < 2) return std::nullopt;
    const auto& d = found->second.data;
    std::wstring text;
    for (std::size_t i = 0; i + 1 < d.size(); i += 2) text += static_cast<wchar_t>(d[i] | (d[i + 1] << 8));
    if (!text.empty() && text.back() == L'\0') text.pop_back();
    return text;
  }

  static std::string Utf8(std::wstring_view text) {
    std::string out;
    for (wchar_t c : text) {
      const auto u = static_cast<std::uint32_t>(c);
      if (u < 0x80) {
        out += static_cast<char>(u);
      } else if (u < 0x800) {
        out += static_cast<char>(0xC0 | (u >> 6));
        out += static_cast<char>(0x80 | (u & 0x3F));
      } else {
        out += static_cast<char>(0xE0 | (u >> 12));
        out += static_cast<char>(0x80 | ((u >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (u & 0x3F));
      }
    }
    return out;
  }

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

  static std::wstring Lower(std::wstring text) {
    for (wchar_t& c : text) c = Folded(c);
    return text;
  }
  static std::wstring Path(std::uint32_t root, const wchar_t* subKey) {
    return Lower(std::to_wstring(root) + L"\\" + subKey);
  }
  std::wstring ValueKey(platform::RegistryKey key, const wchar_t* name) const {
    return Lower(wideOpen_.at(key) + L"|" + name);
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
  std::map<platform::RegistryKey, std::wstring> wideOpen_;
  platform::RegistryKey next_ = 0x1000;
};
