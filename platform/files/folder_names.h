#pragma once
// The names in a folder, read for completing a path.
#include <cstddef>
#include <string>
#include <string_view>

namespace platform {

// The files and folders in `folder` whose names begin with `prefix`, letter
// case ignored as the file system ignores it; not "." and "..", no hidden
// or system entries (as the shell's own completion), none holding a
// character of `refused`. Sorted as the registry compares names, at most
// `most` of them, each followed by a zero; none when the folder cannot be
// read.
std::wstring NamesBeginningWith(std::wstring folder, std::wstring_view prefix, const wchar_t* refused,
                                std::size_t most);

}  // namespace platform
