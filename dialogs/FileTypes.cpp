#include "dialogs/FileTypes.h"

#include "registry/Registry.h"

namespace dialogs {

std::wstring VerbCommand(std::wstring_view programFolder) {
  std::wstring folder(programFolder);
  if (folder.empty() || folder.back() != L'\\') folder += L'\\';  // a drive root has one already
  return L"\"" + folder + L"Vorlind.exe\" \"%1\"";
}

std::vector<std::wstring> RegisterRows(const std::vector<FileTypeRow>& rows, std::wstring_view programFolder,
                                       platform::RegistryCalls& calls) {
  std::vector<std::wstring> failed;
  const std::wstring command = VerbCommand(programFolder);
  for (const FileTypeRow& row : rows) {
    if (!registry::RegisterVerb(calls, row.extension, row.fileType, L"", L"", kVerbName, command))
      failed.emplace_back(row.extension);
  }
  return failed;
}

std::wstring JoinedExtensions(const std::vector<std::wstring>& extensions, std::wstring_view separator) {
  std::wstring list;
  for (const std::wstring& extension : extensions) {
    if (!list.empty()) list += separator;
    list += extension;
  }
  return list;
}

namespace {

// The first part of every failure message: what could not be registered.
std::wstring NotRegistered(const std::vector<std::wstring>& failedExtensions) {
  return L"Der Eintrag \"" + std::wstring(kVerbName) +
         L"\" konnte für folgende Dateitypen nicht ins Kontextmenü eingetragen werden:\n\n" +
         JoinedExtensions(failedExtensions);
}

}  // namespace

std::wstring FailureMessage(const std::vector<std::wstring>& failedExtensions) {
  if (failedExtensions.empty()) return {};
  return NotRegistered(failedExtensions) +
         L"\n\nDas Schreiben unter HKEY_CLASSES_ROOT erfordert möglicherweise Administratorrechte. "
         L"Starten Sie Vorlind als Administrator und versuchen Sie es erneut.";
}

bool FolderStorable(std::wstring_view programFolder, const platform::RegistryCalls& calls) {
  return calls.ToAnsi(VerbCommand(programFolder)).has_value();
}

std::wstring FolderFailureMessage(const std::vector<std::wstring>& failedExtensions, std::wstring_view programFolder) {
  if (failedExtensions.empty()) return {};
  return NotRegistered(failedExtensions) +
         L"\n\nDer Name des Ordners, in dem Vorlind liegt, enthält Zeichen, die die Codepage des Systems nicht "
         L"speichern kann:\n\n" +
         std::wstring(programFolder) +
         L"\n\nLegen Sie Vorlind in einen Ordner, dessen Name nur solche Zeichen enthält, und versuchen Sie es "
         L"erneut.";
}

}  // namespace dialogs
