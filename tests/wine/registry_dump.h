#pragma once
// Reads a registry tree back as text, one line per key and per value, so a
// test can compare what is there before and after.
#include <windows.h>

#include <string>

namespace driver {

std::wstring DumpTree(HKEY root, const std::wstring& subKey);
std::wstring DefaultValue(HKEY root, const std::wstring& subKey);  // "<none>" when missing
bool KeyExists(HKEY root, const std::wstring& subKey);

}  // namespace driver
