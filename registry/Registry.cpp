#include "registry/Registry.h"

#include <string>

#include "platform/text.h"
#include "registry/KeysAndValues.h"

namespace registry {

// The keys written under HKEY_CLASSES_ROOT (or root and prefix), for ".exe"
// and "exefile":
//
//   .exe                              (default) = "exefile"
//   exefile                           (default) = Description, if given
//   exefile\DefaultIcon               (default) = IconPath, if given
//   exefile\Shell
//   exefile\Shell\<Verb>              no value: the menu shows the key name
//   exefile\Shell\<Verb>\command      (default) = Command
bool RegisterVerb(platform::RegistryCalls& calls, std::wstring_view Extension, std::wstring_view FileType,
                  std::wstring_view Description, std::wstring_view IconPath, std::wstring_view Verb,
                  std::wstring_view Command) {
  return RegisterVerbUnder(calls, platform::kClassesRoot, L"", Extension, FileType, Description, IconPath, Verb,
                           Command);
}

bool RegisterVerbUnder(platform::RegistryCalls& calls, std::uint32_t root, std::wstring_view prefix,
                       std::wstring_view Extension, std::wstring_view FileType, std::wstring_view Description,
                       std::wstring_view IconPath, std::wstring_view Verb, std::wstring_view Command) {
  KeyRecord key{root, {}};
  ValueRecord value;
  value.Type = kString;
  const auto writeDefault = [&](std::wstring_view text) {
    value.Text = text;
    value.Length = static_cast<std::int32_t>(value.Text.size());
    return SetValue(calls, key, L"", value);
  };
  const std::wstring extension = std::wstring(prefix).append(Extension);
  const std::wstring fileType = std::wstring(prefix).append(FileType);
  const std::wstring verbKey = (fileType + L"\\Shell\\").append(Verb);
  const std::wstring iconKey = fileType + L"\\DefaultIcon";
  const std::wstring shellKey = fileType + L"\\Shell";
  const std::wstring commandKey = verbKey + L"\\command";

  // Every text must reach the registry as it is. A text the code page cannot
  // hold is found before the first call, so that no half-made entry stays
  // behind: a verb without its command is a menu entry that does nothing.
  for (std::wstring_view text : {prefix, Extension, FileType, Description, IconPath, Verb, Command}) {
    if (!calls.ToAnsi(text)) return false;
  }

  key.SubKey = extension;
  if (!CreateKey(calls, key) || !writeDefault(FileType)) return false;

  key.SubKey = fileType;
  if (!CreateKey(calls, key)) return false;
  if (!Description.empty() && !writeDefault(Description)) return false;

  key.SubKey = iconKey;
  if (!CreateKey(calls, key)) return false;
  if (!IconPath.empty() && !writeDefault(IconPath)) return false;

  key.SubKey = shellKey;
  if (!CreateKey(calls, key)) return false;
  key.SubKey = verbKey;
  if (!CreateKey(calls, key)) return false;
  key.SubKey = commandKey;
  if (!CreateKey(calls, key)) return false;
  return writeDefault(Command);
}

// The one key written under HKEY_CURRENT_USER, for ".exe":
//
//   Software\Classes\SystemFileAssociations\.exe\shell\<Verb>\command   (default) = Command
//
// Never Software\Classes\.exe or ...\exefile: a key of the user's of that
// name would hide the machine's key of the same name (and, say, the
// IsShortcut value that makes .lnk files shortcuts) in the merged view.
bool RegisterVerbForUser(platform::RegistryCalls& calls, std::wstring_view Extension, std::wstring_view Verb,
                         std::wstring_view Command) {
  const std::wstring path =
      platform::Filled("Software\\Classes\\SystemFileAssociations\\\1\\shell\\\2\\command", {Extension, Verb});
  constexpr std::uint32_t kWrite = 0x20006;  // KEY_WRITE
  platform::RegistryKey handle = 0;
  if (calls.CreateKeyW(platform::kCurrentUser, path.c_str(), kWrite, &handle) != 0) return false;
  const std::vector<std::uint8_t> data = Utf16Data(Command);
  const bool written =
      calls.SetValueW(handle, L"", platform::kRegString, data.data(), static_cast<std::uint32_t>(data.size())) == 0;
  return calls.CloseKey(handle) == 0 && written;
}

}  // namespace registry
