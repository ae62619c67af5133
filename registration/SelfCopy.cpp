#include "registration/SelfCopy.h"

#include "registration/FolderSafety.h"

namespace registration {

namespace {

constexpr unsigned long kFileNotFound = 2;
constexpr const wchar_t* kTemporary = L".neu";  // "Vorlind.exe.neu" beside "Vorlind.exe"
constexpr const wchar_t* kAside = L".alt";      // the replaced LinkLabel.dll until the copy is complete

struct Item {
  std::wstring target;
  std::wstring temporary;
  const platform::Bytes& bytes;
  const platform::Sha256& hash;
};

CopyResult Failed(CopyStep step, const std::wstring& file, unsigned long error) { return {step, file, error, {}}; }

// Writes the temporary copy and reads it back: what lies on the disk must be
// what was read from the source.
CopyResult WriteChecked(platform::FileCalls& files, const Item& item) {
  if (const unsigned long error = files.WriteFile(item.temporary, item.bytes))
    return Failed(CopyStep::Write, item.temporary, error);
  platform::Bytes written;
  platform::Sha256 hash{};
  unsigned long error = files.ReadFile(item.temporary, written);
  if (error == 0) error = files.Hash(written, hash);
  // A hash that differs has no error code.
  return error == 0 && hash == item.hash ? CopyResult{} : Failed(CopyStep::Check, item.temporary, error);
}

// ".alt", then ".alt1" ... ".alt9"; false after the last.
bool NextAside(std::wstring& aside) {
  wchar_t& last = aside.data()[aside.size() - 1];
  if (last == L'9') return false;
  if (last == L't')
    aside += L'1';
  else
    ++last;
  return true;
}

// Moves what lies at the target aside, to the first of ".alt", ".alt1", ...
// that takes it: a running Vorlind.exe or a loaded LinkLabel.dll may be
// renamed but not replaced, and an aside of an earlier copy may still be in
// use. 0, kFileNotFound when nothing lay there, or the error.
unsigned long MoveAside(platform::FileCalls& files, const std::wstring& target, std::wstring& aside) {
  aside = target + kAside;
  unsigned long error = 0;
  do {
    files.Delete(aside);  // left by an earlier copy, unless still in use
    error = files.Move(target, aside);
  } while (error != 0 && error != kFileNotFound && NextAside(aside));
  return error;
}

// Both predecessors aside first, then LinkLabel.dll and Vorlind.exe into
// place; on any failure both go back as they were. The asides are deleted
// afterwards where nothing uses them any more.
CopyResult MoveIntoPlace(platform::FileCalls& files, const Item& program, const Item& library) {
  const Item* items[2] = {&library, &program};
  std::wstring asides[2];
  bool setAside[2] = {false, false}, movedIn[2] = {false, false};
  const auto failed = [&](const Item& item, unsigned long error) {
    CopyResult result = Failed(CopyStep::Move, item.target, error);
    for (int i = 0; i < 2; ++i) {
      if (setAside[i] && files.Move(asides[i], items[i]->target) == 0) continue;
      // Nothing new stays where the predecessor belongs: renamed back, it is whole again.
      if (movedIn[i]) files.Delete(items[i]->target);
      if (setAside[i]) (result.stranded += L'\n') += asides[i];
    }
    return result;
  };
  for (int i = 0; i < 2; ++i) {
    const unsigned long error = MoveAside(files, items[i]->target, asides[i]);
    if (error && error != kFileNotFound) return failed(*items[i], error);
    setAside[i] = error == 0;
  }
  for (int i = 0; i < 2; ++i) {
    if (const unsigned long error = files.Move(items[i]->temporary, items[i]->target)) return failed(*items[i], error);
    movedIn[i] = true;
  }
  // This copy's asides and those earlier copies left, where nothing uses
  // them any more: a running copy keeps its own until it ends.
  for (const Item* item : items) {
    std::wstring aside = item->target + kAside;
    do files.Delete(aside);
    while (NextAside(aside));
  }
  return {};
}

}  // namespace

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
  const Item program{programTarget, programTarget + kTemporary, sources.program, sources.programHash};
  const Item library{libraryTarget, libraryTarget + kTemporary, sources.library, sources.libraryHash};
  CopyResult result = WriteChecked(files, program);
  if (result.Copied()) result = WriteChecked(files, library);
  if (result.Copied()) result = MoveIntoPlace(files, program, library);
  if (!result.Copied())
    for (const Item* item : {&program, &library}) files.Delete(item->temporary);
  return result;
}

void RemoveCreated(platform::FileCalls& files, std::wstring folder, const std::wstring& created) {
  if (created.empty()) return;
  for (; folder.size() > created.size(); folder = FolderOf(folder)) files.RemoveFolder(folder);
  files.RemoveFolder(folder);
}

CopyResult CopyProgram(platform::FileCalls& files, std::wstring_view programFile, std::wstring_view destination,
                       const platform::Sha256& linkLabelHash) {
  Sources sources;
  if (CopyResult read = ReadSources(files, programFile, linkLabelHash, sources); !read.Copied()) return read;
  const std::wstring folder(destination);
  std::wstring created;
  CopyResult result;
  if (const unsigned long error = files.CreateFolder(folder, created))
    result = Failed(CopyStep::Folder, folder, error);
  else
    result = CopyInto(files, sources, destination);
  if (!result.Copied()) RemoveCreated(files, folder, created);
  return result;
}

}  // namespace registration
