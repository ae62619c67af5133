#include "registry_dump.h"

#include <vector>

namespace driver {

namespace {

void Dump(HKEY key, const std::wstring& path, std::wstring& out) {
  out += L"[" + path + L"]\n";
  for (DWORD i = 0;; ++i) {
    wchar_t name[256];
    DWORD nameLength = 256, type = 0, size = 0;
    if (RegEnumValueW(key, i, name, &nameLength, nullptr, &type, nullptr, &size) != ERROR_SUCCESS) break;
    std::vector<BYTE> data(size + 2);
    nameLength = 256;
    RegEnumValueW(key, i, name, &nameLength, nullptr, &type, data.data(), &size);
    out += std::wstring(L"  \"") + name + L"\" type " + std::to_wstring(type) + L" = ";
    if (type == REG_SZ || type == REG_EXPAND_SZ) {
      std::wstring text(reinterpret_cast<const wchar_t*>(data.data()), size / sizeof(wchar_t));
      if (!text.empty() && text.back() == L'\0') text.pop_back();  // the stored terminator
      out += text;
    } else
      out += std::to_wstring(size) + L" bytes";
    out += L"\n";
  }
  for (DWORD i = 0;; ++i) {
    wchar_t name[256];
    DWORD nameLength = 256;
    if (RegEnumKeyExW(key, i, name, &nameLength, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    HKEY child;
    if (RegOpenKeyExW(key, name, 0, KEY_READ, &child) == ERROR_SUCCESS) {
      Dump(child, path + L"\\" + name, out);
      RegCloseKey(child);
    }
  }
}

}  // namespace

std::wstring DumpTree(HKEY root, const std::wstring& subKey) {
  HKEY key;
  if (RegOpenKeyExW(root, subKey.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return L"<missing " + subKey + L">\n";
  std::wstring out;
  Dump(key, subKey, out);
  RegCloseKey(key);
  return out;
}

std::wstring DefaultValue(HKEY root, const std::wstring& subKey) {
  wchar_t data[2048];
  DWORD size = sizeof data;
  if (RegGetValueW(root, subKey.c_str(), nullptr, RRF_RT_REG_SZ, nullptr, data, &size) != ERROR_SUCCESS)
    return L"<none>";
  return data;
}

bool KeyExists(HKEY root, const std::wstring& subKey) {
  HKEY key;
  if (RegOpenKeyExW(root, subKey.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  RegCloseKey(key);
  return true;
}

}  // namespace driver
