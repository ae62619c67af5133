#pragma once
// Where the system looks for a library loaded by name in this process: in
// System32 alone, for every run. Not in the program's folder, which for an
// elevated copy may be Downloads, nor in the current folder or one a library
// was loaded from: a DLL saved there (version.dll, uxtheme.dll) would run
// with the program's rights as soon as the shell or the common controls ask
// for one by that name. The same for LinkLabel.dll's own imports (oleacc,
// ...), so that none is taken from beside it. A plain number, for the host
// tests: LOAD_LIBRARY_SEARCH_SYSTEM32, which entry.cpp checks against the
// platform's header.
namespace platform {

inline constexpr unsigned long kLibrarySearch = 0x00000800;

}  // namespace platform
