#include "registration/Installation.h"

#include "registration/FolderSafety.h"

namespace registration {

namespace {

// What the failed step did, before the file's name.
const wchar_t* StepText(CopyStep step) {
  switch (step) {
    case CopyStep::Read: return L"Lesen von";
    case CopyStep::Folder: return L"Anlegen des Ordners";
    case CopyStep::Write: return L"Schreiben von";
    case CopyStep::Check: return L"Prüfen von";
    default: return L"Ersetzen von";
  }
}

}  // namespace

std::optional<Request> ParseInstallRequest(const Rows& rows, std::wstring_view argumentText) {
  return ParseSwitch(rows, argumentText, kInstallSwitch, kInstallForUserSwitch);
}

bool IsInstallRequest(std::wstring_view argumentText) { return ParseInstallRequest({}, argumentText).has_value(); }

std::wstring InstallRequest(const Rows& rows) { return std::wstring(kInstallSwitch) + JoinedExtensions(rows, L","); }

FailureReport CopyFailure(const CopyResult& result, std::wstring_view destination, std::wstring_view errorText) {
  const std::wstring file = L"\n\n" + result.file + L"\n\n";
  if (result.failed == CopyStep::Refused)
    return {L"Vorlind wurde nicht kopiert; nichts wurde verändert.",
            result.error == platform::kErrorNotTheRunningFile
                ? L"Unter dem Namen" + file + L"liegt nicht mehr die Datei, die gerade läuft."
                : L"Die Datei" + file +
                      (result.error ? L"fehlt" : L"ist nicht die, mit der dieses Vorlind erstellt wurde") +
                      L". Entpacken Sie Vorlind.exe und LinkLabel.dll zusammen aus dem Archiv und versuchen Sie es "
                      L"erneut."};
  return {L"Vorlind konnte nicht nach " + std::wstring(destination) + L" kopiert werden; der Ordner ist unverändert.",
          L"Beim " + std::wstring(StepText(result.failed)) + file +
              (result.error ? L"meldete Windows: " + std::wstring(errorText)
                            : std::wstring(L"stimmte die Kopie nicht mit dem Original überein."))};
}

Outcome InstallAsRequested(const Request& request, platform::RegistryCalls& registry, platform::ProcessCalls& processes,
                           platform::FileCalls& files, const platform::Sha256& linkLabelHash) {
  if (request.rows.empty()) return RegisterAsRequested(request, registry, processes);
  const std::optional<std::wstring> folder = files.InstallFolder(request.forUser);
  if (!folder)
    return {kExitFailed, FailureReport{L"Vorlind wurde nicht kopiert.",
                                       L"Windows nennt keinen Programmordner, in den Vorlind kopiert werden könnte."}};
  const std::wstring program = PathIn(*folder, kProgramName);
  const Scope scope = request.forUser ? Scope::CurrentUser : Scope::AllUsers;
  const std::wstring running = processes.ProgramFile();
  if (processes.SameIgnoringCase(processes.LongPath(running), program))
    return RegisterAsRequested(request, registry, processes, program);
  Sources sources;
  CopyResult copy = ReadSources(files, running, linkLabelHash, sources);
  if (copy.Copied())
    if (const unsigned long error = files.CreateFolder(*folder)) copy = {CopyStep::Folder, *folder, error};
  // What lies there is replaced only when the folder passes.
  if (copy.Copied()) {
    const Place place = CheckPlaceOf(processes, program, scope);
    if (place.refusal)
      return {kExitUnsafeFolder, RegistrationFailure(CauseOf(*place.refusal, scope), request.rows, place.program,
                                                     place.path, processes.Elevated(), false)};
  }
  if (copy.Copied()) copy = CopyInto(files, sources, *folder);
  if (!copy.Copied())
    return {copy.failed == CopyStep::Refused ? kExitUnsafeFolder : kExitFailed,
            CopyFailure(copy, *folder, processes.ErrorText(copy.error))};
  return RegisterAsRequested(request, registry, processes, program);
}

}  // namespace registration
