#include "registry/Registry.h"

#include <string>

#include "registry/KeysAndValues.h"

namespace registry {

// The keys written under HKEY_CLASSES_ROOT, for ".exe" and "exefile":
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
  KeyRecord key{platform::kClassesRoot, {}};
  ValueRecord value;
  value.Type = kString;
  const auto writeDefault = [&](std::wstring_view text) {
    value.Text = text;
    value.Length = static_cast<std::int32_t>(value.Text.size());
    return SetValue(calls, key, L"", value);
  };
  const std::wstring fileType(FileType);
  const std::wstring verbKey = fileType + L"\\Shell\\" + std::wstring(Verb);

  key.SubKey = Extension;
  if (!CreateKey(calls, key) || !writeDefault(FileType)) return false;

  key.SubKey = fileType;
  if (!CreateKey(calls, key)) return false;
  if (!Description.empty() && !writeDefault(Description)) return false;

  key.SubKey = fileType + L"\\DefaultIcon";
  if (!CreateKey(calls, key)) return false;
  if (!IconPath.empty() && !writeDefault(IconPath)) return false;

  key.SubKey = fileType + L"\\Shell";
  if (!CreateKey(calls, key)) return false;
  key.SubKey = verbKey;
  if (!CreateKey(calls, key)) return false;
  key.SubKey = verbKey + L"\\command";
  if (!CreateKey(calls, key)) return false;
  return writeDefault(Command);
}

}  // namespace registry
