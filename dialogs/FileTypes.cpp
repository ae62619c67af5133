#include "dialogs/FileTypes.h"

#include "registry/Registry.h"

namespace dialogs {

std::wstring VerbCommand(std::wstring_view programFolder) {
  std::wstring folder(programFolder);
  if (folder.empty() || folder.back() != L'\\') folder += L'\\';  // a drive root has one already
  return L"\"" + folder + L"Vorlind.exe\" \"%1\"";
}

std::vector<std::wstring> RegisterTicked(const std::vector<FileTypeRow>& rows,
                                         const std::function<bool(int checkBox)>& ticked,
                                         std::wstring_view programFolder, platform::RegistryCalls& calls) {
  std::vector<std::wstring> failed;
  const std::wstring command = VerbCommand(programFolder);
  for (const FileTypeRow& row : rows) {
    if (!ticked(row.checkBox)) continue;
    if (!registry::RegisterVerb(calls, row.extension, row.fileType, L"", L"", kVerbName, command))
      failed.emplace_back(row.extension);
  }
  return failed;
}

std::wstring FailureMessage(const std::vector<std::wstring>& failedExtensions) {
  if (failedExtensions.empty()) return {};
  std::wstring list;
  for (const std::wstring& extension : failedExtensions) {
    if (!list.empty()) list += L", ";
    list += extension;
  }
  return L"Der Eintrag \"" + std::wstring(kVerbName) + L"\" konnte für folgende Dateitypen nicht "
         L"ins Kontextmenü eingetragen werden:\n\n" + list +
         L"\n\nDas Schreiben unter HKEY_CLASSES_ROOT erfordert möglicherweise Administratorrechte. "
         L"Starten Sie Vorlind als Administrator und versuchen Sie es erneut.";
}

}  // namespace dialogs
