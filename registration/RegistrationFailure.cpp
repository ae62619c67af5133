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
    return L"Vorlind läuft bereits als Administrator; Windows hat das Schreiben unter "
           L"HKEY_LOCAL_MACHINE\\Software\\Classes dennoch "
           L"verweigert.";
  if (mayAsk && elevated.has_value())
    return L"Das Schreiben unter HKEY_LOCAL_MACHINE\\Software\\Classes, für alle Benutzer, erfordert "
           L"Administratorrechte.";
  return L"Das Schreiben unter HKEY_LOCAL_MACHINE\\Software\\Classes erfordert möglicherweise Administratorrechte. "
         L"Starten Sie Vorlind "
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

constexpr const wchar_t* kMoveToOwnFolder =
    L"\n\nLegen Sie Vorlind in einen eigenen Ordner in Ihrem Benutzerprofil oder nach "
    L"C:\\Program Files\\Vorlind und tragen Sie es von dort aus ein.";

std::wstring_view FileName(std::wstring_view path) { return path.substr(path.find_last_of(L"\\/") + 1); }

std::wstring UnsafeFolderText(std::wstring_view folder, std::wstring_view unsafePath, std::wstring_view programFile,
                              bool forUser) {
  return Joined(
      {L"Vorlind liegt in\n\n", folder,
       forUser ? L"\n\nAuch andere Benutzer dürfen ändern: " : L"\n\nNicht nur Administratoren dürfen ändern: ",
       unsafePath,
       forUser ? L"\n\nEingetragen, startete Ihr Kontextmenü, was ein anderer Benutzer dort später als "
               : L"\n\nFür alle Benutzer eingetragen, startete das Kontextmenü jedes Benutzers, was dort "
                 L"später als ",
       FileName(programFile), forUser ? L" ablegt." : L"", forUser ? kMoveToOwnFolder : kMoveToProgramFiles});
}

constexpr const wchar_t* kRedirected =
    L"\n\nAuf dem Weg liegt eine Verknüpfung (Junction, symbolischer Link oder ein mit subst verbundenes "
    L"Laufwerk), die später woandershin zeigen kann. Starten Sie Vorlind dort, wo es tatsächlich liegt, und "
    L"tragen Sie es von dort aus ein.";
constexpr const wchar_t* kPercent =
    L"\n\nDas Kontextmenü liest % im Befehl als Platzhalter. Legen Sie Vorlind in einen Ordner ohne % im Namen, "
    L"etwa C:\\Program Files\\Vorlind, und tragen Sie es von dort aus ein.";
constexpr const wchar_t* kNotFixedDisk =
    L"Vorlind liegt auf einem Laufwerk, das keine lokale Festplatte ist (Wechseldatenträger, Netzlaufwerk oder "
    L"CD/DVD):\n\n";
constexpr const wchar_t* kNotFixedDiskAdvice =
    L"\n\nDessen Rechte bestimmt der Datenträger oder der Server, nicht dieser Computer. Legen Sie Vorlind in "
    L"einen Ordner auf einer lokalen Festplatte, den nur Administratoren ändern dürfen, etwa "
    L"C:\\Program Files\\Vorlind, und tragen Sie es von dort aus ein.";

std::wstring PlaceText(Cause cause, std::wstring_view programFile, std::wstring_view path) {
  switch (cause) {
    case Cause::Redirected:
      return Joined({L"Vorlind wurde gestartet als\n\n", path, L"\n\nliegt aber tatsächlich hier:\n\n", programFile,
                     kRedirected});
    case Cause::Percent:
      return Joined({L"Der Pfad, unter dem Vorlind liegt, enthält ein Prozentzeichen (%):\n\n", path, kPercent});
    default: return Joined({kNotFixedDisk, path, kNotFixedDiskAdvice});
  }
}

}  // namespace

Cause CauseOf(Refusal refusal, Scope scope) {
  switch (refusal) {
    case Refusal::Redirected: return Cause::Redirected;
    case Refusal::Percent: return Cause::Percent;
    case Refusal::NotFixedDisk: return Cause::NotFixedDisk;
    case Refusal::Unsafe: break;
  }
  return scope == Scope::AllUsers ? Cause::UnsafeFolder : Cause::UnsafeForUser;
}

FailureReport RegistrationFailure(Cause cause, const Rows& rows, std::wstring_view programFile, std::wstring_view path,
                                  std::optional<bool> elevated, bool mayAsk) {
  const std::wstring list = JoinedExtensions(rows);
  switch (cause) {
    case Cause::UnsafeFolder:
      return {L"Vorlind kann von hier aus nicht für alle Benutzer eingetragen werden.",
              UnsafeFolderText(FolderOf(programFile), path, programFile, false), false, mayAsk};
    case Cause::UnsafeForUser:
      return {L"Vorlind kann von hier aus nicht eingetragen werden, auch nicht nur für Sie.",
              UnsafeFolderText(FolderOf(programFile), path, programFile, true)};
    case Cause::NotFixedDisk:
      return {L"Vorlind kann von hier aus nicht für alle Benutzer eingetragen werden.",
              PlaceText(cause, programFile, path), false, mayAsk};
    case Cause::Redirected:
    case Cause::Percent:
      return {L"Vorlind kann von hier aus nicht eingetragen werden.", PlaceText(cause, programFile, path)};
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

constexpr const wchar_t* kElevatedRefused =
    L"\n\nWindows hat das Schreiben unter HKEY_LOCAL_MACHINE\\Software\\Classes verweigert.";
constexpr const wchar_t* kElevatedUnsafe =
    L"\n\nDer Ort, an dem Vorlind liegt, ist für alle Benutzer nicht sicher: ein Ordner auf dem Weg oder eine Datei "
    L"darin darf nicht nur von Administratoren geändert werden, oder der Weg dorthin kann umgeleitet werden.";
constexpr const wchar_t* kCopyUnsafe =
    L"\n\nDie Kopie wurde abgelehnt (LinkLabel.dll fehlt oder gehört nicht zu diesem Vorlind), oder der Zielordner "
    L"darf nicht nur von Administratoren geändert werden. Es wurde nichts kopiert und nichts eingetragen.";

std::wstring ElevatedCopyFailed(unsigned long exitCode, std::wstring_view installFolder) {
  const bool copying = !installFolder.empty();
  return Joined({copying ? L"Vorlind konnte sich auch als Administrator nicht nach " : L"", installFolder,
                 copying ? L" kopieren und für alle Benutzer eintragen (Exitcode "
                         : L"Vorlind konnte den Eintrag \"Kommandozeile\" auch als Administrator nicht für alle "
                           L"Benutzer vornehmen (Exitcode ",
                 Number(exitCode), L").",
                 exitCode == 1   ? kElevatedRefused
                 : exitCode == 3 ? (copying ? kCopyUnsafe : kElevatedUnsafe)
                                 : L""});
}

std::wstring Installed(std::wstring_view installFolder, std::wstring_view unpackedFolder) {
  return Joined({L"Vorlind liegt jetzt in\n\n", installFolder,
                 L"\n\nund ist von dort aus eingetragen. Die entpackte Kopie in\n\n", unpackedFolder,
                 L"\n\nwird nicht mehr gebraucht; Sie können sie löschen."});
}

}  // namespace registration
