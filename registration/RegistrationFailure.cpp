#include "registration/RegistrationFailure.h"

#include "registration/FileTypes.h"
#include "registration/FolderSafety.h"

namespace registration {

namespace {

std::wstring Number(unsigned long n) {
  std::wstring digits;
  do {
    digits.insert(digits.begin(), static_cast<wchar_t>(L'0' + n % 10));
    n /= 10;
  } while (n);
  return digits;
}

// One function joins all texts: a chain of + per message costs code.
std::wstring Joined(std::initializer_list<std::wstring_view> parts) {
  std::wstring text;
  for (std::wstring_view part : parts) text += part;
  return text;
}

std::wstring NotRegistered(std::wstring_view how) {
  return Joined({L"Der Eintrag \"Kommandozeile\" konnte", how,
                 L" für folgende Dateitypen nicht ins Kontextmenü eingetragen werden:"});
}

// Where the user may choose, the ways on speak for themselves (the task
// dialog's links and their notes): the texts say what happened and why.
std::wstring RefusedText(std::optional<bool> elevated, bool mayAsk) {
  if (elevated.value_or(false))
    return L"Vorlind läuft bereits als Administrator; Windows hat das Schreiben unter HKEY_CLASSES_ROOT dennoch "
           L"verweigert.";
  if (mayAsk && elevated.has_value())
    return L"Das Schreiben unter HKEY_CLASSES_ROOT, für alle Benutzer, erfordert Administratorrechte.";
  return L"Das Schreiben unter HKEY_CLASSES_ROOT erfordert möglicherweise Administratorrechte. Starten Sie Vorlind "
         L"als Administrator und versuchen Sie es erneut.";
}

std::wstring FolderNameText(std::wstring_view folder) {
  return Joined(
      {L"Der Name des Ordners, in dem Vorlind liegt, enthält Zeichen, die die Codepage des Systems nicht "
       L"speichern kann:\n\n",
       folder,
       L"\n\nLegen Sie Vorlind in einen Ordner, dessen Name nur solche Zeichen enthält, und versuchen Sie "
       L"es erneut."});
}

constexpr const wchar_t* kMoveToProgramFiles =
    L" liegt. Legen Sie Vorlind in einen Ordner, den nur Administratoren ändern dürfen, etwa "
    L"C:\\Program Files\\Vorlind, und tragen Sie es von dort aus ein.";

std::wstring UnsafeFolderText(std::wstring_view folder, std::wstring_view unsafePath, std::wstring_view programFile) {
  const bool file = unsafePath != folder;
  return Joined({L"Vorlind liegt in einem Ordner, den nicht nur Administratoren ändern dürfen:\n\n", folder,
                 file ? L"\n\nAuch andere Benutzer dürfen ändern: " : L"", file ? unsafePath : L"",
                 L"\n\nFür alle Benutzer eingetragen, startete das Kontextmenü jedes Benutzers, was dort später als ",
                 programFile.substr(programFile.find_last_of(L"\\/") + 1), kMoveToProgramFiles});
}

}  // namespace

FailureReport RegistrationFailure(Cause cause, const Rows& rows, std::wstring_view programFile,
                                  std::wstring_view unsafePath, std::optional<bool> elevated, bool mayAsk) {
  const std::wstring list = JoinedExtensions(rows);
  switch (cause) {
    case Cause::UnsafeFolder:
      return {L"Vorlind kann von hier aus nicht für alle Benutzer eingetragen werden.",
              UnsafeFolderText(FolderOf(programFile), unsafePath, programFile), false, mayAsk};
    case Cause::FolderName:
      return {NotRegistered(L""), Joined({list, L"\n\n", FolderNameText(FolderOf(programFile))}), false, mayAsk};
    case Cause::RefusedForUser:
      return {NotRegistered(L" auch nur für Sie"),
              Joined({list, L"\n\nWindows hat das Schreiben unter HKEY_CURRENT_USER\\Software\\Classes verweigert."}),
              false, false};
    case Cause::Refused: break;
  }
  const bool ask = mayAsk && elevated.has_value() && !*elevated;
  return {NotRegistered(L""), Joined({list, L"\n\n", RefusedText(elevated, ask)}), ask, ask};
}

std::wstring ElevatedCopyFailed(unsigned long exitCode) {
  return Joined(
      {L"Vorlind konnte den Eintrag \"Kommandozeile\" auch als Administrator nicht für alle Benutzer "
       L"vornehmen (Exitcode ",
       Number(exitCode), L").",
       exitCode == 1   ? L"\n\nWindows hat das Schreiben unter HKEY_CLASSES_ROOT verweigert."
       : exitCode == 3 ? L"\n\nDer Ordner, in dem Vorlind liegt, oder eine Datei darin darf nicht nur "
                         L"von Administratoren geändert werden."
                       : L""});
}

}  // namespace registration
