#pragma once
// The program's replacements of the C++ runtime's failure paths, built with
// MinGW-w64 only (platform/runtime/lean_runtime.cpp).

namespace platform {

// Reports that memory ran out and ends the program: no allocation, no
// formatting.
[[noreturn]] void EndOutOfMemory();

}  // namespace platform
