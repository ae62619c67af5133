#include "registration/Installation.h"

#include "registration/FolderSafety.h"
#include "platform/text.h"

namespace registration {

namespace {

using platform::Filled;
using platform::Joined;
using platform::Widened;

constexpr const char* kNotCopied = "Vorlind wurde nicht kopiert; nichts wurde verändert.";

// Before the file's name: what the failed step did, or what is wrong with it.
const char* StepText(const CopyResult& result) {
  switch (result.failed) {
    case CopyStep::Read: return "Beim Lesen von";
    case CopyStep::Folder: return "Beim Anlegen des Ordners";
    case CopyStep::Write: return "Beim Schreiben von";
    case CopyStep::Check: return "Beim Prüfen von";
    case CopyStep::Refused: return result.error == platform::kErrorNotTheRunningFile ? "Unter dem Namen" : "Die Datei";
    default: return "Beim Ersetzen von";
  }
}

}  // namespace

std::optional<Request> ParseInstallRequest(const Rows& rows, std::wstring_view argumentText) {
  return ParseSwitch(rows, argumentText, kInstallSwitch, kInstallForUserSwitch);
}

bool IsInstallRequest(std::wstring_view argumentText) { return ParseInstallRequest({}, argumentText).has_value(); }

std::wstring InstallRequest(const Rows& rows) { return Joined({kInstallSwitch, JoinedExtensions(rows, L",")}); }

FailureReport CopyFailure(const CopyResult& result, std::wstring_view destination, std::wstring_view errorText) {
  const bool refused = result.failed == CopyStep::Refused;
  const bool notRunning = refused && result.error == platform::kErrorNotTheRunningFile;
  // After the file's name.
  const char* after = notRunning     ? "liegt nicht mehr die Datei, die gerade läuft."
                      : refused      ? (result.error ? "fehlt" : "ist nicht die, mit der dieses Vorlind erstellt wurde")
                      : result.error ? "meldete Windows: "
                                     : "stimmte die Kopie nicht mit dem Original überein.";
  const char* advice = refused && !notRunning
                           ? ". Entpacken Sie Vorlind.exe und LinkLabel.dll zusammen aus dem Archiv und versuchen Sie "
                             "es erneut."
                           : "";
  const bool stranded = !result.stranded.empty();
  return {
      refused ? Widened(kNotCopied)
              : Filled("Vorlind konnte nicht nach \1 kopiert werden; der Ordner ist \2",
                       {destination, stranded ? "nicht mehr wie zuvor." : "unverändert."}),
      Filled("\1\n\n\2\n\n\3\4\5\6\7",
             {StepText(result), result.file, after, advice, refused || !result.error ? std::wstring_view() : errorText,
              stranded ? "\n\nDie vorige Fassung liegt jetzt hier; ohne die angehängte Endung (.alt, .alt1 …) wäre "
                         "sie wieder an ihrem Platz:\n"
                       : "",
              result.stranded})};
}

Outcome InstallAsRequested(const Request& request, platform::RegistryCalls& registry, platform::ProcessCalls& processes,
                           platform::FileCalls& files, const platform::Sha256& linkLabelHash) {
  if (request.rows.empty()) return RegisterAsRequested(request, registry, processes);
  const std::optional<std::wstring> folder = files.InstallFolder(request.forUser);
  if (!folder)
    return {kExitFailed, FailureReport{Widened("Vorlind wurde nicht kopiert."),
                                       Widened("Windows nennt keinen Programmordner, in den Vorlind kopiert "
                                               "werden könnte.")}};
  const std::wstring program = PathIn(*folder, kProgramName);
  const Scope scope = request.forUser ? Scope::CurrentUser : Scope::AllUsers;
  const std::wstring running = processes.ProgramFile();
  if (processes.SameIgnoringCase(processes.LongPath(running), program))
    return RegisterAsRequested(request, registry, processes, program);
  Sources sources;
  std::wstring created;  // the folders made for the copy: removed again unless it is complete
  CopyResult copy = ReadSources(files, running, linkLabelHash, sources);
  if (copy.Copied())
    if (const unsigned long error = files.CreateFolder(*folder, created)) copy = {CopyStep::Folder, *folder, error, {}};
  // What lies there is replaced only when the folder passes.
  if (copy.Copied()) {
    const Place place = CheckPlaceOf(processes, program, scope);
    if (place.refusal) {
      RemoveCreated(files, *folder, created);
      return {kExitUnsafeFolder, RegistrationFailure(CauseOf(*place.refusal, scope), request.rows, place.program,
                                                     place.path, processes.Elevated(), false)};
    }
  }
  if (copy.Copied()) copy = CopyInto(files, sources, *folder);
  if (!copy.Copied()) {
    RemoveCreated(files, *folder, created);
    return {copy.failed == CopyStep::Refused ? kExitUnsafeFolder : kExitFailed,
            CopyFailure(copy, *folder, processes.ErrorText(copy.error))};
  }
  return RegisterAsRequested(request, registry, processes, program);
}

}  // namespace registration
