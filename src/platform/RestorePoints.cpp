#include "platform/RestorePoints.h"

#include "platform/Platform.h"

namespace brimlow::platform {
namespace {

RestorePoints* installed = nullptr;

bool IsFile(const std::wstring& path) {
  FileEntry entry;
  return Files().Stat(path, &entry) == Result::kOk && !entry.IsFolder();
}

// The platform's system folder, with a trailing backslash.
std::wstring SystemFolder() {
  std::wstring folder = Env().WindowsFolder();
  if (!folder.empty() && folder.back() != L'\\') folder += L'\\';
  return folder + L"System32\\";
}

}  // namespace

RestorePoints& SystemRestore() { return installed ? *installed : DefaultRestorePoints(); }

ScopedRestorePoints::ScopedRestorePoints(RestorePoints& points) : previous_(installed) { installed = &points; }
ScopedRestorePoints::~ScopedRestorePoints() { installed = previous_; }

bool CreateRestorePoint(const std::wstring& description, std::uint32_t* status) {
  std::int64_t sequence = 0;
  std::uint32_t result = SystemRestore().BeginRestorePoint(description, &sequence);
  if (result == 0) result = SystemRestore().EndRestorePoint(sequence);
  if (status) *status = result;
  return result == 0;
}

ClientCheck CheckSystemRestoreClient(ClientLibrary& library) {
  if (!library.Load(L"SRCLIENT.DLL")) return ClientCheck::kLibraryMissing;
  if (!library.HasEntryPoint("SRSetRestorePointW")) return ClientCheck::kSetRestorePointMissing;
  if (!library.HasEntryPoint("SRRemoveRestorePoint")) return ClientCheck::kRemoveRestorePointMissing;
  return ClientCheck::kPresent;
}

std::wstring ClientCheckText(ClientCheck check) {
  switch (check) {
    case ClientCheck::kPresent: return L"";
    case ClientCheck::kLibraryMissing: return L"System Restore Interface Not Present.";
    case ClientCheck::kSetRestorePointMissing: return L"Did not find SRSetRestorePointW";
    case ClientCheck::kRemoveRestorePointMissing: return L"Did not find SRRemoveRestorePoint";
  }
  return L"";
}

int RequireSystemRestoreClient(ClientLibrary& library, const std::function<void(const std::wstring&)>& warn) {
  const ClientCheck check = CheckSystemRestoreClient(library);
  if (check == ClientCheck::kPresent) return 0;
  if (warn) warn(ClientCheckText(check));
  return 1;
}

ProgramStart StartSystemRestoreProgram() {
  const std::wstring folder = SystemFolder();
  std::wstring program = folder + L"restore\\rstrui.exe";
  if (!IsFile(program)) program = folder + L"rstrui.exe";
  if (!IsFile(program)) return ProgramStart::kMissing;
  StartInfo info;
  info.application = program;
  info.command_line = L"\"" + program + L"\"";
  info.working_folder = program.substr(0, program.rfind(L'\\') + 1);
  return Procs().Start(info) ? ProgramStart::kStarted : ProgramStart::kNotStarted;
}

}  // namespace brimlow::platform
