#include "registration/RegistrationFailure.h"

#include "registration/FileTypes.h"
#include "registration/FolderSafety.h"
#include "platform/text.h"

namespace registration {

namespace {

using platform::Filled;
using platform::Number;
using platform::Widened;

std::wstring NotRegistered(const char* how) {
  return Filled(
      "Der Eintrag \"Kommandozeile\" konnte\1 für folgende Dateitypen nicht ins Kontextmenü eingetragen werden:",
      {how});
}

// What follows the types that were not registered, as a pattern: the types
// are \1, the program's folder \2. Where the user may choose, the ways on
// speak for themselves (the task dialog's links and their notes): the texts
// say what happened and why.
const char* TypesText(Cause cause, std::optional<bool> elevated, bool mayAsk) {
  if (cause == Cause::FolderName)
    return "\1\n\nDer Name des Ordners, in dem Vorlind liegt, enthält Zeichen, die die Codepage des Systems nicht "
           "speichern kann:\n\n\2\n\nLegen Sie Vorlind in einen Ordner, dessen Name nur solche Zeichen enthält, und "
           "versuchen Sie es erneut.";
  if (cause == Cause::RefusedForUser)
    return "\1\n\nWindows hat das Schreiben unter HKEY_CURRENT_USER\\Software\\Classes verweigert.";
  if (elevated.value_or(false))
    return "\1\n\nVorlind läuft bereits als Administrator; Windows hat das Schreiben unter "
           "HKEY_LOCAL_MACHINE\\Software\\Classes dennoch verweigert.";
  if (mayAsk && elevated.has_value())
    return "\1\n\nDas Schreiben unter HKEY_LOCAL_MACHINE\\Software\\Classes, für alle Benutzer, erfordert "
           "Administratorrechte.";
  return "\1\n\nDas Schreiben unter HKEY_LOCAL_MACHINE\\Software\\Classes erfordert möglicherweise "
         "Administratorrechte. Starten Sie Vorlind als Administrator und versuchen Sie es erneut.";
}

// The end of every advice that names the usual place for all users.
constexpr const char* kFromThere = "etwa C:\\Program Files\\Vorlind, und tragen Sie es von dort aus ein.";

std::wstring_view FileName(std::wstring_view path) {
  const std::size_t name = path.find_last_of(L"\\/") + 1;  // 0 without a folder
  return {path.data() + name, path.size() - name};
}

// Who else may change the place (untrusted accounts, or sandboxed
// processes through a low label), and whose context menu would start what
// they put there.
std::wstring UnsafeFolderText(std::wstring_view folder, std::wstring_view unsafePath, std::wstring_view programFile,
                              Cause cause) {
  const std::wstring_view name = FileName(programFile);
  if (cause == Cause::UnsafeFolder) {
    return Filled(
        "Vorlind liegt in\n\n\1\n\nNicht nur Administratoren dürfen ändern: \2\n\nFür alle Benutzer eingetragen, "
        "startete das Kontextmenü jedes Benutzers, was dort später als \3 liegt. Legen Sie Vorlind in einen Ordner, "
        "den nur Administratoren ändern dürfen, \4",
        {folder, unsafePath, name, kFromThere});
  }
  const bool low = cause == Cause::LowIntegrity;
  return Filled(
      "Vorlind liegt in\n\n\1\n\n\2: \3\n\nEingetragen, startete Ihr Kontextmenü, was \4 dort später als \5 "
      "ablegt.\n\nLegen Sie Vorlind in einen eigenen Ordner in Ihrem Benutzerprofil oder nach "
      "C:\\Program Files\\Vorlind und tragen Sie es von dort aus ein.",
      {folder,
       low ? "Mit niedriger Integritätsebene gekennzeichnet, also auch für Programme in einer Sandbox änderbar"
           : "Auch andere Benutzer dürfen ändern",
       unsafePath, low ? "ein solches Programm" : "ein anderer Benutzer", name});
}

// The text for a place refused whatever the scope, or on a drive that is
// no fixed disk: the path it names is \1, the program's file \2.
std::wstring PlaceText(Cause cause, std::wstring_view programFile, std::wstring_view path) {
  const char* pattern = nullptr;
  switch (cause) {
    case Cause::Redirected:
      pattern =
          "Vorlind wurde gestartet als\n\n\1\n\nliegt aber tatsächlich hier:\n\n\2\n\nAuf dem Weg liegt eine "
          "Verknüpfung (Junction, symbolischer Link oder ein mit subst verbundenes Laufwerk), die später woandershin "
          "zeigen kann. Starten Sie Vorlind dort, wo es tatsächlich liegt, und tragen Sie es von dort aus ein.";
      break;
    case Cause::Percent:
      pattern =
          "Der Pfad, unter dem Vorlind liegt, enthält ein Prozentzeichen (%):\n\n\1\n\nDas Kontextmenü liest % im "
          "Befehl als Platzhalter. Legen Sie Vorlind in einen Ordner ohne % im Namen, \3";
      break;
    case Cause::ReparsePoint:
      pattern =
          "Auf dem Weg zu Vorlind liegt ein Verweis (Junction, symbolischer Link, eingebundenes Laufwerk oder "
          "Cloud-Ordner), der später woandershin zeigen kann:\n\n\1\n\nLegen Sie Vorlind in einen gewöhnlichen "
          "Ordner, \3";
      break;
    default:
      pattern =
          "Vorlind liegt auf einem Laufwerk, das keine eingebaute lokale Festplatte ist (Wechseldatenträger, externe "
          "Festplatte, Speicherkarte, Netzlaufwerk oder CD/DVD):\n\n\1\n\nDessen Rechte bestimmt der Datenträger "
          "oder der Server, nicht dieser Computer. Legen Sie Vorlind in einen Ordner auf einer lokalen Festplatte, "
          "den nur Administratoren ändern dürfen, \3";
  }
  return Filled(pattern, {path, programFile, kFromThere});
}

}  // namespace

Cause CauseOf(Refusal refusal, Scope scope) {
  switch (refusal) {
    case Refusal::Redirected: return Cause::Redirected;
    case Refusal::Percent: return Cause::Percent;
    case Refusal::NotFixedDisk: return Cause::NotFixedDisk;
    case Refusal::ReparsePoint: return Cause::ReparsePoint;
    case Refusal::LowIntegrity: return Cause::LowIntegrity;
    case Refusal::Unsafe: break;
  }
  return scope == Scope::AllUsers ? Cause::UnsafeFolder : Cause::UnsafeForUser;
}

FailureReport RegistrationFailure(Cause cause, const Rows& rows, std::wstring_view programFile, std::wstring_view path,
                                  std::optional<bool> elevated, bool mayAsk) {
  constexpr const char* kNotForAll = "Vorlind kann von hier aus nicht für alle Benutzer eingetragen werden.";
  FailureReport report;
  const char* headline = nullptr;  // none: the types that were not registered
  switch (cause) {
    case Cause::UnsafeFolder:
    case Cause::UnsafeForUser:
    case Cause::LowIntegrity: {
      const bool forAll = cause == Cause::UnsafeFolder;
      headline = forAll ? kNotForAll : "Vorlind kann von hier aus nicht eingetragen werden, auch nicht nur für Sie.";
      report.text = UnsafeFolderText(FolderOf(programFile), path, programFile, cause);
      report.offerForMe = mayAsk && forAll;
      break;
    }
    case Cause::NotFixedDisk:  // for all users only
    case Cause::Redirected:
    case Cause::Percent:
    case Cause::ReparsePoint: {
      const bool forAll = cause == Cause::NotFixedDisk;
      headline = forAll ? kNotForAll : "Vorlind kann von hier aus nicht eingetragen werden.";
      report.offerForMe = mayAsk && forAll;
      report.text = PlaceText(cause, programFile, path);
      break;
    }
    case Cause::FolderName:
    case Cause::RefusedForUser:
    case Cause::Refused:
      if (cause == Cause::Refused) report.offerAllUsers = mayAsk && elevated.has_value() && !*elevated;
      report.offerForMe = cause == Cause::FolderName ? mayAsk : report.offerAllUsers;
      report.text =
          Filled(TypesText(cause, elevated, report.offerAllUsers), {JoinedExtensions(rows), FolderOf(programFile)});
      break;
  }
  report.headline =
      headline ? Widened(headline) : NotRegistered(cause == Cause::RefusedForUser ? " auch nur für Sie" : "");
  return report;
}

constexpr const char* kElevatedRefused =
    "\n\nWindows hat das Schreiben unter HKEY_LOCAL_MACHINE\\Software\\Classes verweigert.";
constexpr const char* kElevatedUnsafe =
    "\n\nDer Ort, an dem Vorlind liegt, ist für alle Benutzer nicht sicher: ein Ordner auf dem Weg oder eine Datei "
    "darin darf nicht nur von Administratoren geändert werden, oder der Weg dorthin kann umgeleitet werden.";
constexpr const char* kCopyUnsafe =
    "\n\nDie Kopie wurde abgelehnt (LinkLabel.dll fehlt oder gehört nicht zu diesem Vorlind), oder der Zielordner "
    "darf nicht nur von Administratoren geändert werden. Es wurde nichts kopiert und nichts eingetragen.";

std::wstring ElevatedCopyFailed(std::optional<unsigned long> exitCode, std::wstring_view installFolder) {
  const bool copying = !installFolder.empty();
  if (!exitCode)
    return Widened(
        "Vorlind konnte das Ende seiner Kopie als Administrator nicht abwarten: ob sie Vorlind für alle Benutzer "
        "eingetragen hat, ist nicht bekannt.");
  const char* const why = *exitCode == 1   ? kElevatedRefused
                          : *exitCode == 3 ? (copying ? kCopyUnsafe : kElevatedUnsafe)
                                           : "";
  return Filled(copying ? "Vorlind konnte sich auch als Administrator nicht nach \1 kopieren und für alle Benutzer "
                          "eintragen (Exitcode \2).\3"
                        : "Vorlind konnte den Eintrag \"Kommandozeile\" auch als Administrator nicht für alle "
                          "Benutzer vornehmen (Exitcode \2).\3",
                {installFolder, Number(*exitCode), why});
}

std::wstring Installed(std::wstring_view installFolder, std::wstring_view unpackedFolder) {
  return Filled(
      "Vorlind liegt jetzt in\n\n\1\n\nund ist von dort aus eingetragen. Die entpackte Kopie in\n\n\2\n\nwird nicht "
      "mehr gebraucht; Sie können sie löschen.",
      {installFolder, unpackedFolder});
}

}  // namespace registration
