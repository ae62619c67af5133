#pragma once
// Copying Vorlind into the folder it is registered from: the program file
// that runs and the LinkLabel.dll it was built with, nothing else. Each file
// is written under a temporary name and checked against its hash before
// anything is moved into place, so that an interrupted copy never leaves a
// half-written program for the entry to start.
#include <string>
#include <string_view>

#include "platform/files/file_calls.h"

namespace registration {

inline constexpr std::wstring_view kProgramName = L"Vorlind.exe";
inline constexpr std::wstring_view kLinkLabelName = L"LinkLabel.dll";

enum class CopyStep {
  None,     // copied
  Refused,  // not the file that runs, or not the LinkLabel.dll built with it (or none): nothing changed
  Read,     // a source could not be read or hashed
  Folder,   // the destination folder could not be created
  Write,    // a temporary copy could not be written
  Check,    // a temporary copy could not be read back, or differs from its source
  Move,     // a copy could not be moved into place
};

struct CopyResult {
  CopyStep failed = CopyStep::None;
  std::wstring file;        // the file or folder the failed step was about
  unsigned long error = 0;  // the platform's error code; 0 for a hash that differs
  // A failed Move only: the predecessors that could not be put back, each
  // under its aside name (".alt") on a line of its own ("\n..."); empty when
  // all went back.
  std::wstring stranded;
  bool Copied() const { return failed == CopyStep::None; }
};

// What is copied, read and checked before anything is written.
struct Sources {
  platform::Bytes program;
  platform::Bytes library;
  platform::Sha256 programHash{};
  platform::Sha256 libraryHash{};
};

// Reads the running program (programFile: the name it runs under) and the
// LinkLabel.dll beside it, which must have the SHA-256 linkLabelHash.
CopyResult ReadSources(platform::FileCalls& files, std::wstring_view programFile, const platform::Sha256& linkLabelHash,
                       Sources& sources);

// Writes them as Vorlind.exe and LinkLabel.dll into the existing folder,
// replacing what lies there. A failure at any step deletes the temporary
// copies and leaves the folder as it was, but for a predecessor that could
// not be put back (stranded). A complete copy deletes every aside that
// earlier copies left and nothing uses any more.
CopyResult CopyInto(platform::FileCalls& files, const Sources& sources, std::wstring_view destination);

// Removes what CreateFolder created for the folder (created: the outermost),
// innermost first, where it is empty.
void RemoveCreated(platform::FileCalls& files, std::wstring folder, const std::wstring& created);

// Both, with the folder created between them if needed, and removed again
// when the copy fails.
CopyResult CopyProgram(platform::FileCalls& files, std::wstring_view programFile, std::wstring_view destination,
                       const platform::Sha256& linkLabelHash);

}  // namespace registration
