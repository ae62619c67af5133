#include "registry/KeysAndValues.h"

#include <algorithm>
#include <optional>
#include <vector>

namespace registry {

namespace {

constexpr std::uint32_t kCreateAccess = 0x20017;  // read, query, set, create sub-key, notify
constexpr std::uint32_t kWriteAccess = 0x20013;   // read, query, set, notify

// Data and size of a value as the registry stores it.
struct ValueData {
  std::vector<std::uint8_t> bytes;
  bool write = true;
};

std::optional<ValueData> DataOf(const platform::RegistryCalls& calls, const ValueRecord& value) {
  // Sizes never exceed the field they describe, whatever Length says.
  const auto clamp = [&](std::size_t fieldSize) {
    return static_cast<std::size_t>(std::clamp<std::int64_t>(value.Length, 0, static_cast<std::int64_t>(fieldSize)));
  };
  switch (value.Type) {
    case kString:
    case kExpandString: {
      // The size is what the conversion produced plus the terminating zero:
      // in a multi-byte code page that is more than the character count.
      std::optional<std::string> ansi = calls.ToAnsi(value.Text);
      if (!ansi) return std::nullopt;
      const auto* bytes = reinterpret_cast<const std::uint8_t*>(ansi->c_str());
      return ValueData{std::vector<std::uint8_t>(bytes, bytes + ansi->size() + 1)};
    }
    case kBinary: {
      const auto* p = &value.Byte;
      return ValueData{std::vector<std::uint8_t>(p, p + clamp(sizeof value.Byte))};
    }
    case kNumber: {
      std::uint8_t little[4];
      const auto n = static_cast<std::uint32_t>(value.Number);
      for (int i = 0; i < 4; ++i) little[i] = static_cast<std::uint8_t>(n >> (8 * i));
      return ValueData{std::vector<std::uint8_t>(little, little + clamp(sizeof little))};
    }
    default: return ValueData{{}, false};
  }
}

}  // namespace

std::vector<std::uint8_t> Utf16Data(std::wstring_view text) {
  if constexpr (sizeof(wchar_t) == 2) {
    // On Windows a wchar_t is a UTF-16 code unit, low byte first already.
    std::vector<std::uint8_t> data((text.size() + 1) * 2);
    std::copy_n(reinterpret_cast<const std::uint8_t*>(text.data()), text.size() * 2, data.begin());
    return data;
  }
  std::vector<std::uint8_t> data;
  data.reserve((text.size() + 1) * 2);
  const auto unit = [&](std::uint32_t u) {
    data.push_back(static_cast<std::uint8_t>(u & 0xFF));
    data.push_back(static_cast<std::uint8_t>(u >> 8));
  };
  for (wchar_t c : text) {
    const auto code = static_cast<std::uint32_t>(c);
    if (code > 0xFFFF) {  // a wide character of more than 16 bits (not on Windows): a surrogate pair
      unit(0xD800 + ((code - 0x10000) >> 10));
      unit(0xDC00 + ((code - 0x10000) & 0x3FF));
    } else {
      unit(code);
    }
  }
  unit(0);
  return data;
}

bool CreateKey(platform::RegistryCalls& calls, const KeyRecord& key) {
  const std::optional<std::string> subKey = calls.ToAnsi(key.SubKey);
  if (!subKey) return false;
  platform::RegistryKey handle = 0;
  std::uint32_t disposition = 0;
  if (calls.CreateKeyEx(key.Root, subKey->c_str(), 0, "", 0, kCreateAccess, nullptr, &handle, &disposition) != 0)
    return false;
  return OpenKey(calls, handle).Close();
}

bool SetValue(platform::RegistryCalls& calls, const KeyRecord& key, std::wstring_view valueName,
              const ValueRecord& value) {
  // Every text is converted before the key is opened: a text the code page
  // cannot hold leaves the registry untouched.
  const std::optional<std::string> subKey = calls.ToAnsi(key.SubKey);
  const std::optional<std::string> name = calls.ToAnsi(valueName);
  const std::optional<ValueData> data = DataOf(calls, value);
  if (!subKey || !name || !data) return false;

  platform::RegistryKey handle = 0;
  if (calls.OpenKeyEx(key.Root, subKey->c_str(), 0, kWriteAccess, &handle) != 0) return false;
  OpenKey open(calls, handle);
  bool written = true;
  if (data->write) {
    written = calls.SetValueEx(open.Get(), name->c_str(), 0, static_cast<std::uint32_t>(value.Type), data->bytes.data(),
                               static_cast<std::uint32_t>(data->bytes.size())) == 0;
  }
  const bool closed = open.Close();
  return written && closed;
}

}  // namespace registry
