#pragma once
// A function of a system DLL that is loaded only when it is needed: the shell
// and COM cost every start time and memory that only a few paths use.
#include <windows.h>

namespace platform {

template <typename Function>
Function SystemFunction(const wchar_t* dll, const char* name) {
  HMODULE module = ::LoadLibraryExW(dll, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
  return module ? reinterpret_cast<Function>(reinterpret_cast<void*>(::GetProcAddress(module, name))) : nullptr;
}

}  // namespace platform
