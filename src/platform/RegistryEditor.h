#pragma once
// Merging a registry-editor file (".reg") into the registry silently, the
// way the platform's registry editor does with "/s".
//
// Windows build: starts "RegEdit.exe /s "FILE"" from the Windows folder with
// its window hidden and waits at most the time-out; the editor's own verdict
// cannot be seen, so success means "started".
// Stand-in build: Brimlow's own editor parses the file and merges it into
// the current registry as one transaction: a file with a malformed line
// changes nothing.

#include <string>

namespace brimlow::platform {

// timeout_ms: -1 waits without limit. true when the merge was started
// (Windows) or done (stand-in); false with a reason in *error (optional)
// otherwise, "<file>:<line>: <reason>" for a malformed file.
bool MergeRegFile(const std::wstring& path, int timeout_ms, std::wstring* error);

// A path given on the command line as a full Windows path: Windows paths
// are made absolute; on the stand-in a host path ("/x/y", "x/y") becomes
// its drive Z: name. Main thread.
std::wstring PathFromArgument(const std::wstring& argument);

}  // namespace brimlow::platform
