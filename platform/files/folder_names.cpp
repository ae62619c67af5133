#include "platform/files/folder_names.h"

#include <windows.h>

#include <cwchar>

#include "platform/handles.h"

namespace platform {

namespace {

void CloseSearch(HANDLE search) { ::FindClose(search); }
using UniqueSearch = UniqueHandle<HANDLE, CloseSearch>;

int Compared(const wchar_t* a, std::size_t aSize, const wchar_t* b, std::size_t bSize) {
  return ::CompareStringOrdinal(a, static_cast<int>(aSize), b, static_cast<int>(bSize), TRUE);
}

}  // namespace

std::wstring NamesBeginningWith(std::wstring folder, std::wstring_view prefix, const wchar_t* refused,
                                std::size_t most) {
  std::wstring names;
  // "C:" alone is the drive's current folder: nothing goes between.
  if (!folder.empty() && folder.back() != L'\\' && folder.back() != L'/' && folder.back() != L':') folder += L'\\';
  folder += L'*';
  WIN32_FIND_DATAW found;
  const HANDLE first = ::FindFirstFileExW(folder.c_str(), FindExInfoBasic, &found, FindExSearchNameMatch, nullptr,
                                          FIND_FIRST_EX_LARGE_FETCH);
  if (first == INVALID_HANDLE_VALUE) return names;
  const UniqueSearch search(first);
  std::size_t count = 0;
  do {
    const wchar_t* name = found.cFileName;
    const std::size_t size = std::wcslen(name);
    if ((found.dwFileAttributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) || size < prefix.size() ||
        (!prefix.empty() && Compared(name, prefix.size(), prefix.data(), prefix.size()) != CSTR_EQUAL) ||
        std::wcspbrk(name, refused) || (size <= 2 && name[0] == L'.' && name[size - 1] == L'.'))  // "." and ".."
      continue;
    std::size_t at = 0;
    for (std::size_t length; at < names.size(); at += length + 1) {
      length = std::wcslen(names.c_str() + at);
      if (Compared(names.c_str() + at, length, name, size) == CSTR_GREATER_THAN) break;
    }
    names.insert(at, name, size + 1);  // with its zero
    ++count;
  } while (count < most && ::FindNextFileW(search.get(), &found));
  return names;
}

}  // namespace platform
