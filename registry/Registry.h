#pragma once
// Registers a shell verb for a file type, for all users under
// HKEY_CLASSES_ROOT or for the current user: the only way the rest of the
// program writes the context-menu entry.
#include <cstdint>
#include <string_view>

#include "platform/registry_calls.h"

namespace registry {

// True only when the verb's command was written; stops at the first failed
// step and leaves what was already written. A text the ANSI code page cannot
// hold writes nothing at all.
bool RegisterVerb(platform::RegistryCalls& calls, std::wstring_view Extension, std::wstring_view FileType,
                  std::wstring_view Description, std::wstring_view IconPath, std::wstring_view Verb,
                  std::wstring_view Command);

// The same under another root and path prefix: all users are written under
// HKEY_LOCAL_MACHINE\Software\Classes, never through the merged
// HKEY_CLASSES_ROOT, whose writes land in the account's own classes wherever
// it has a key of the same name.
bool RegisterVerbUnder(platform::RegistryCalls& calls, std::uint32_t root, std::wstring_view prefix,
                       std::wstring_view Extension, std::wstring_view FileType, std::wstring_view Description,
                       std::wstring_view IconPath, std::wstring_view Verb, std::wstring_view Command);

// Registers the verb for the current user only, which needs no
// administrator rights: the shell reads verbs of an extension from the
// user's SystemFileAssociations too. Written with the wide functions, so any
// path works. True when the command was written.
bool RegisterVerbForUser(platform::RegistryCalls& calls, std::wstring_view Extension, std::wstring_view Verb,
                         std::wstring_view Command);

inline bool RegisterVerb(std::wstring_view Extension, std::wstring_view FileType, std::wstring_view Description,
                         std::wstring_view IconPath, std::wstring_view Verb, std::wstring_view Command) {
  return RegisterVerb(platform::SystemRegistry(), Extension, FileType, Description, IconPath, Verb, Command);
}

}  // namespace registry
