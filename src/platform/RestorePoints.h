#pragma once
// The platform's System Restore client: system restore points, and the
// check that the client is there at all.
//
// Windows build: "SRCLIENT.DLL", loaded once at program start and kept
// loaded; restore points through its "SRSetRestorePointW".
// Stand-in build: the client is always there; restore points are lines of
// a log in the system image ("C:\System Volume Information\restore-points.log").
// Main thread only.

#include <cstdint>
#include <functional>
#include <string>

namespace brimlow::platform {

class RestorePoints {
 public:
  virtual ~RestorePoints() = default;

  // Begins a restore point of the kind "application install" with the
  // description (only its first 128 characters are used). Returns 0 on
  // success, otherwise the platform's status. *sequence receives the
  // number of the point begun, in every case (0 when none was begun).
  virtual std::uint32_t BeginRestorePoint(const std::wstring& description, std::int64_t* sequence) = 0;

  // Completes the restore point begun with that number. Returns 0 on
  // success, otherwise the platform's status.
  virtual std::uint32_t EndRestorePoint(std::int64_t sequence) = 0;
};

// The restore points in force: the build's own unless a test installed
// another with ScopedRestorePoints.
RestorePoints& SystemRestore();
// Implemented by the build's platform.
RestorePoints& DefaultRestorePoints();

class ScopedRestorePoints {
 public:
  explicit ScopedRestorePoints(RestorePoints& points);
  ~ScopedRestorePoints();
  ScopedRestorePoints(const ScopedRestorePoints&) = delete;
  ScopedRestorePoints& operator=(const ScopedRestorePoints&) = delete;

 private:
  RestorePoints* previous_;
};

// Begins and ends a restore point with the description, one call after the
// other. true only when neither call failed; otherwise *status (optional)
// receives the failing call's status.
bool CreateRestorePoint(const std::wstring& description, std::uint32_t* status = nullptr);

// Finding the client's library and its entry points.
class ClientLibrary {
 public:
  virtual ~ClientLibrary() = default;
  // Loads the library by file name; true when it was found. It stays
  // loaded until the program ends.
  virtual bool Load(const std::wstring& file_name) = 0;
  // true when the loaded library exports the entry point.
  virtual bool HasEntryPoint(const char* name) = 0;
};

// The build's own loader.
ClientLibrary& SystemClientLibrary();

enum class ClientCheck {
  kPresent,
  kLibraryMissing,              // "System Restore Interface Not Present."
  kSetRestorePointMissing,      // "Did not find SRSetRestorePointW"
  kRemoveRestorePointMissing,   // "Did not find SRRemoveRestorePoint"
};

// Loads "SRCLIENT.DLL" and looks for "SRSetRestorePointW", then
// "SRRemoveRestorePoint"; stops at the first failure.
ClientCheck CheckSystemRestoreClient(ClientLibrary& library);
// The warning text of a failed check; "" for kPresent.
std::wstring ClientCheckText(ClientCheck check);

// What the program does before anything else: checks the client through
// the library and, when it is missing, shows the check's text through
// `warn` and returns the exit code 1. Returns 0 when the client is there.
int RequireSystemRestoreClient(ClientLibrary& library, const std::function<void(const std::wstring&)>& warn);

// The platform's System Restore program: "restore\rstrui.exe" in the
// system folder, else "rstrui.exe" there, started in its own folder,
// visible, without waiting.
enum class ProgramStart { kStarted, kMissing, kNotStarted };
ProgramStart StartSystemRestoreProgram();

}  // namespace brimlow::platform
