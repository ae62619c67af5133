#include "platform/registry_calls.h"

#include <windows.h>
#include <shlobj.h>

#include "platform/system_function.h"

namespace platform {

namespace {

// Predefined roots are 32-bit values sign-extended into a handle.
HKEY RootKey(std::uint32_t root) {
  return reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(static_cast<LONG_PTR>(static_cast<LONG>(root))));
}

class Win32Registry final : public RegistryCalls {
 public:
  std::optional<std::string> ToAnsi(std::wstring_view text) const override {
    if (text.empty()) return std::string();
    const UINT codePage = ::GetACP();
    // UTF-8 holds every valid text; elsewhere a replaced character shows up
    // in usedDefault, and best-fit look-alikes are refused.
    const bool utf8 = codePage == CP_UTF8;
    const DWORD flags = utf8 ? WC_ERR_INVALID_CHARS : WC_NO_BEST_FIT_CHARS;
    BOOL usedDefault = FALSE;
    BOOL* usedDefaultOut = utf8 ? nullptr : &usedDefault;
    const int length = static_cast<int>(text.size());
    const int size = ::WideCharToMultiByte(codePage, flags, text.data(), length, nullptr, 0, nullptr, usedDefaultOut);
    if (size <= 0 || usedDefault) return std::nullopt;
    std::string ansi(static_cast<std::size_t>(size), '\0');
    if (::WideCharToMultiByte(codePage, flags, text.data(), length, ansi.data(), size, nullptr, usedDefaultOut) !=
            size ||
        usedDefault) {
      return std::nullopt;
    }
    return ansi;
  }

  RegistryStatus CreateKeyEx(std::uint32_t root, const char* subKey, std::uint32_t reserved, const char* keyClass,
                             std::uint32_t options, std::uint32_t access, const void* security, RegistryKey* key,
                             std::uint32_t* disposition) override {
    HKEY opened = nullptr;
    DWORD created = 0;
    const LSTATUS status =
        ::RegCreateKeyExA(RootKey(root), subKey, reserved, const_cast<char*>(keyClass), options, access,
                          static_cast<SECURITY_ATTRIBUTES*>(const_cast<void*>(security)), &opened, &created);
    *key = reinterpret_cast<RegistryKey>(opened);
    if (disposition) *disposition = created;
    return status;
  }

  RegistryStatus OpenKeyEx(std::uint32_t root, const char* subKey, std::uint32_t options, std::uint32_t access,
                           RegistryKey* key) override {
    HKEY opened = nullptr;
    const LSTATUS status = ::RegOpenKeyExA(RootKey(root), subKey, options, access, &opened);
    *key = reinterpret_cast<RegistryKey>(opened);
    return status;
  }

  RegistryStatus SetValueEx(RegistryKey key, const char* name, std::uint32_t reserved, std::uint32_t type,
                            const std::uint8_t* data, std::uint32_t size) override {
    return ::RegSetValueExA(reinterpret_cast<HKEY>(key), name, reserved, type, data, size);
  }

  RegistryStatus CloseKey(RegistryKey key) override { return ::RegCloseKey(reinterpret_cast<HKEY>(key)); }

  RegistryStatus CreateKeyW(std::uint32_t root, const wchar_t* subKey, std::uint32_t access,
                            RegistryKey* key) override {
    HKEY opened = nullptr;
    const LSTATUS status = ::RegCreateKeyExW(RootKey(root), subKey, 0, nullptr, 0, access, nullptr, &opened, nullptr);
    *key = reinterpret_cast<RegistryKey>(opened);
    return status;
  }

  RegistryStatus OpenKeyW(std::uint32_t root, const wchar_t* subKey, std::uint32_t access, RegistryKey* key) override {
    HKEY opened = nullptr;
    const LSTATUS status = ::RegOpenKeyExW(RootKey(root), subKey, 0, access, &opened);
    *key = reinterpret_cast<RegistryKey>(opened);
    return status;
  }

  RegistryStatus SetValueW(RegistryKey key, const wchar_t* name, std::uint32_t type, const std::uint8_t* data,
                           std::uint32_t size) override {
    return ::RegSetValueExW(reinterpret_cast<HKEY>(key), name, 0, type, data, size);
  }

  RegistryStatus QueryValueW(RegistryKey key, const wchar_t* name, std::uint32_t* type, std::uint8_t* data,
                             std::uint32_t* size) override {
    DWORD valueType = 0;
    DWORD valueSize = *size;
    const LSTATUS status = ::RegQueryValueExW(reinterpret_cast<HKEY>(key), name, nullptr, &valueType, data, &valueSize);
    *type = valueType;
    *size = valueSize;
    return status;
  }

  RegistryStatus DeleteValueW(RegistryKey key, const wchar_t* name) override {
    return ::RegDeleteValueW(reinterpret_cast<HKEY>(key), name);
  }

  RegistryStatus ValueNameW(RegistryKey key, std::uint32_t index, std::wstring& name) override {
    name.resize(16384);  // the longest name a value can have, and its zero
    auto length = static_cast<DWORD>(name.size());
    const LSTATUS status =
        ::RegEnumValueW(reinterpret_cast<HKEY>(key), index, name.data(), &length, nullptr, nullptr, nullptr, nullptr);
    name.resize(status == ERROR_SUCCESS ? length : 0);
    return status;
  }

  bool SameName(std::wstring_view a, std::wstring_view b) const override {
    const int length = static_cast<int>(a.size());
    return a.size() == b.size() &&
           (length == 0 || ::CompareStringOrdinal(a.data(), length, b.data(), length, TRUE) == CSTR_EQUAL);
  }

  RegistryStatus DeleteTreeW(std::uint32_t root, const wchar_t* subKey) override {
    return ::RegDeleteTreeW(RootKey(root), subKey);
  }

  void AssociationsChanged() override {
    using ChangeNotifyFunction = void(WINAPI*)(LONG, UINT, LPCVOID, LPCVOID);
    // The shell is loaded only after a registration.
    if (const auto notify = SystemFunction<ChangeNotifyFunction>(L"shell32.dll", "SHChangeNotify"))
      notify(SHCNE_ASSOCCHANGED, SHCNF_IDLIST | SHCNF_FLUSH, nullptr, nullptr);  // delivered before a copy ends
  }
};

}  // namespace

RegistryCalls& SystemRegistry() {
  static Win32Registry registry;  // stateless: one instance serves every call
  return registry;
}

}  // namespace platform
