// Stand-in platform only: a new, Windows-like system image.
#include <fstream>
#include <iterator>
#include <system_error>

#include "platform/standin/DriveMap.h"
#include "platform/standin/ImageRegistry.h"
#include "platform/standin/StandinEnvironment.h"
#include "platform/standin/StandinFileSystem.h"
#include "platform/standin/StandinPlatform.h"

namespace brimlow::platform::standin {
namespace {

namespace fs = std::filesystem;

constexpr wchar_t kShellFolders[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

struct ShellFolder {
  RegRoot root;
  const wchar_t* name;
  const wchar_t* path;  // expanded with the image's variables
};

// The shell folders as a Windows 7 profile names them, with the user folders
// laid out as the image's own folders are.
constexpr ShellFolder kFolders[] = {
    {RegRoot::kCurrentUser, L"AppData", L"%APPDATA%"},
    {RegRoot::kCurrentUser, L"Local AppData", L"%LOCALAPPDATA%"},
    {RegRoot::kCurrentUser, L"Desktop", L"%USERPROFILE%\\Desktop"},
    {RegRoot::kCurrentUser, L"Recent", L"%USERPROFILE%\\Recent"},
    {RegRoot::kCurrentUser, L"Cookies", L"%USERPROFILE%\\Cookies"},
    {RegRoot::kCurrentUser, L"Start Menu", L"%USERPROFILE%\\Start Menu"},
    {RegRoot::kCurrentUser, L"Programs", L"%USERPROFILE%\\Start Menu\\Programs"},
    {RegRoot::kCurrentUser, L"Startup", L"%USERPROFILE%\\Start Menu\\Programs\\Startup"},
    {RegRoot::kCurrentUser, L"Fonts", L"%SystemRoot%\\Fonts"},
    {RegRoot::kCurrentUser, L"History", L"%LOCALAPPDATA%\\Microsoft\\Windows\\History"},
    {RegRoot::kCurrentUser, L"Cache", L"%LOCALAPPDATA%\\Microsoft\\Windows\\Temporary Internet Files"},
    {RegRoot::kCurrentUser, L"Personal", L"%USERPROFILE%\\Documents"},
    {RegRoot::kCurrentUser, L"Templates", L"%USERPROFILE%\\Templates"},
    {RegRoot::kCurrentUser, L"SendTo", L"%USERPROFILE%\\SendTo"},
    {RegRoot::kCurrentUser, L"Favorites", L"%USERPROFILE%\\Favorites"},
    {RegRoot::kCurrentUser, L"NetHood", L"%USERPROFILE%\\NetHood"},
    {RegRoot::kCurrentUser, L"PrintHood", L"%USERPROFILE%\\PrintHood"},
    {RegRoot::kLocalMachine, L"Common AppData", L"%ProgramData%"},
    {RegRoot::kLocalMachine, L"Common Desktop", L"%PUBLIC%\\Desktop"},
    {RegRoot::kLocalMachine, L"Common Documents", L"%PUBLIC%\\Documents"},
    {RegRoot::kLocalMachine, L"Common Start Menu", L"%ProgramData%\\Microsoft\\Windows\\Start Menu"},
    {RegRoot::kLocalMachine, L"Common Programs", L"%ProgramData%\\Microsoft\\Windows\\Start Menu\\Programs"},
    {RegRoot::kLocalMachine, L"Common Startup",
     L"%ProgramData%\\Microsoft\\Windows\\Start Menu\\Programs\\Startup"},
};

// Further folders every system has.
constexpr const wchar_t* kOtherFolders[] = {
    L"%SystemRoot%\\System32", L"%SystemRoot%\\Temp",  L"%SystemRoot%\\Help",
    L"%SystemRoot%\\Debug",    L"%SystemRoot%\\inf",   L"%TEMP%",
    L"%ProgramFiles%",         L"%CommonProgramFiles%",
};

std::wstring Name(const fs::path& path) { return FromUtf8(path.string()); }

bool WriteEnvironment(const fs::path& file, std::wstring* error) {
  std::error_code ec;
  if (fs::exists(file, ec)) return true;
  std::ofstream out(file, std::ios::binary);
  out << "# Environment variables of this system (NAME=VALUE). Windows-like\n"
         "# defaults fill in every variable left out here.\n"
      << "USERNAME=" << ToUtf8(DefaultUserName()) << "\n"
      << "BRIMLOW_WINDOWS_VERSION=6.1.7601\n";
  out.close();
  if (!out) *error = Name(file) + L": cannot be written";
  return static_cast<bool>(out);
}

bool ReadEnvironment(const fs::path& file, EnvVariables* variables, std::wstring* error) {
  std::ifstream in(file, std::ios::binary);
  const std::string content((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  return ParseEnvironmentFile(content, Name(file), variables, error);
}

bool WriteShellFolders(const fs::path& file, Environment& environment, std::wstring* error) {
  ImageRegistry registry;
  if (!registry.Load(file, error)) return false;
  for (const ShellFolder& folder : kFolders) {
    const RegValue value = MakeStringValue(folder.name, environment.Expand(folder.path));
    if (!Ok(registry.SetValue(folder.root, kShellFolders, value))) {
      *error = Name(file) + L": cannot be written";
      return false;
    }
  }
  return true;
}

}  // namespace

bool CreateFreshImage(const fs::path& dir, std::wstring* error) {
  std::error_code ec;
  fs::create_directories(dir / "drive_c", ec);
  if (!fs::is_directory(dir / "drive_c", ec)) {
    *error = L"the system image folder cannot be created: " + Name(dir);
    return false;
  }
  EnvVariables variables;
  if (!WriteEnvironment(dir / "environment", error) ||
      !ReadEnvironment(dir / "environment", &variables, error))
    return false;

  const DriveMap drives(dir);
  StandinEnvironment environment(variables, drives);
  StandinFileSystem files(drives);
  for (const ShellFolder& folder : kFolders) {
    if (!Ok(files.CreateFolder(environment.Expand(folder.path)))) {
      *error = L"the folder cannot be created: " + environment.Expand(folder.path);
      return false;
    }
  }
  for (const wchar_t* folder : kOtherFolders) {
    if (!Ok(files.CreateFolder(environment.Expand(folder)))) {
      *error = L"the folder cannot be created: " + environment.Expand(folder);
      return false;
    }
  }
  const fs::path registry = dir / "registry.reg";
  if (fs::exists(registry, ec)) return true;
  return WriteShellFolders(registry, environment, error);
}

}  // namespace brimlow::platform::standin
