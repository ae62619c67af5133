#include "registration/SelfCopy.h"

#include "registration/FolderSafety.h"

namespace registration {

namespace {

constexpr unsigned long kFileNotFound = 2;
constexpr std::wstring_view kTemporary = L".neu";  // "Vorlind.exe.neu" beside "Vorlind.exe"
constexpr std::wstring_view kAside = L".alt";      // the replaced LinkLabel.dll until the copy is complete

struct Item {
  std::wstring target;
  std::wstring temporary;
  const platform::Bytes& bytes;
  const platform::Sha256& hash;
};

CopyResult Failed(CopyStep step, const std::wstring& file, unsigned long error) { return {step, file, error}; }

// Writes the temporary copy and reads it back: what lies on the disk must be
// what was read from the source.
CopyResult WriteChecked(platform::FileCalls& files, const Item& item) {
  if (const unsigned long error = files.WriteFile(item.temporary, item.bytes))
    return Failed(CopyStep::Write, item.temporary, error);
  platform::Bytes written;
  platform::Sha256 hash{};
  if (const unsigned long error = files.ReadFile(item.temporary, written))
    return Failed(CopyStep::Check, item.temporary, error);
  if (const unsigned long error = files.Hash(written, hash)) return Failed(CopyStep::Check, item.temporary, error);
  return hash == item.hash ? CopyResult{} : Failed(CopyStep::Check, item.temporary, 0);
}

// LinkLabel.dll first, its predecessor kept aside; Vorlind.exe last, so that
// when it cannot be replaced (an older copy runs from there) the library
// goes back as it was.
CopyResult MoveIntoPlace(platform::FileCalls& files, const Item& program, const Item& library) {
  const std::wstring aside = library.target + std::wstring(kAside);
  const unsigned long asideError = files.Move(library.target, aside);
  if (asideError && asideError != kFileNotFound) return Failed(CopyStep::Move, library.target, asideError);
  const bool kept = asideError == 0;  // there was one, and it lies aside now
  if (const unsigned long error = files.Move(library.temporary, library.target)) {
    if (kept) files.Move(aside, library.target);
    return Failed(CopyStep::Move, library.target, error);
  }
  if (const unsigned long error = files.Move(program.temporary, program.target)) {
    if (kept)
      files.Move(aside, library.target);
    else
      files.Delete(library.target);
    return Failed(CopyStep::Move, program.target, error);
  }
  if (kept) files.Delete(aside);
  return {};
}

}  // namespace

std::wstring PathIn(std::wstring_view folder, std::wstring_view name) {
  std::wstring path(folder);
  if (!path.ends_with(L'\\')) path += L'\\';
  return path += name;
}

CopyResult ReadSources(platform::FileCalls& files, std::wstring_view programFile, const platform::Sha256& linkLabelHash,
                       Sources& sources) {
  const std::wstring program(programFile);
  const std::wstring library = PathIn(FolderOf(programFile), kLinkLabelName);
  if (const unsigned long error = files.ReadProgram(program, sources.program))
    return Failed(error == platform::kErrorNotTheRunningFile ? CopyStep::Refused : CopyStep::Read, program, error);
  if (const unsigned long error = files.ReadFile(library, sources.library))
    return Failed(error == kFileNotFound ? CopyStep::Refused : CopyStep::Read, library, error);
  if (const unsigned long error = files.Hash(sources.program, sources.programHash))
    return Failed(CopyStep::Read, program, error);
  if (const unsigned long error = files.Hash(sources.library, sources.libraryHash))
    return Failed(CopyStep::Read, library, error);
  return sources.libraryHash == linkLabelHash ? CopyResult{} : Failed(CopyStep::Refused, library, 0);
}

CopyResult CopyInto(platform::FileCalls& files, const Sources& sources, std::wstring_view destination) {
  const std::wstring programTarget = PathIn(destination, kProgramName);
  const std::wstring libraryTarget = PathIn(destination, kLinkLabelName);
  const Item program{programTarget, programTarget + std::wstring(kTemporary), sources.program, sources.programHash};
  const Item library{libraryTarget, libraryTarget + std::wstring(kTemporary), sources.library, sources.libraryHash};
  CopyResult result = WriteChecked(files, program);
  if (result.Copied()) result = WriteChecked(files, library);
  if (result.Copied()) result = MoveIntoPlace(files, program, library);
  if (!result.Copied())
    for (const Item* item : {&program, &library}) files.Delete(item->temporary);
  return result;
}

CopyResult CopyProgram(platform::FileCalls& files, std::wstring_view programFile, std::wstring_view destination,
                       const platform::Sha256& linkLabelHash) {
  Sources sources;
  if (CopyResult read = ReadSources(files, programFile, linkLabelHash, sources); !read.Copied()) return read;
  if (const unsigned long error = files.CreateFolder(std::wstring(destination)))
    return Failed(CopyStep::Folder, std::wstring(destination), error);
  return CopyInto(files, sources, destination);
}

}  // namespace registration
