#pragma once
// Path building and the program's and the platform's folders.
//
// Paths are Windows paths with backslashes on both builds. The pure string
// functions never fail and never touch the platform; the folder functions
// ask platform::Current(). Any thread.

#include <string>
#include <string_view>

namespace brimlow {

// --- Pure path text -------------------------------------------------------

// Every "/" becomes "\".
std::wstring NormalizeSlashes(std::wstring_view path);

// "" stays ""; otherwise the path with normalized slashes and exactly one
// trailing backslash added unless it already ends in one.
std::wstring AddTrailingBackslash(std::wstring_view path);

// Joins a name onto a base folder:
// - a name holding ":" (drive or scheme) stands alone (slashes normalized);
// - a network base ("\\server\...") is not joined: the name alone;
// - a drive base ("C:...") gets exactly one backslash before the name, and a
//   name beginning with "\" goes on the base's drive;
// - any other base (relative or empty): the name unchanged.
std::wstring CombinePath(std::wstring_view base, std::wstring_view name);

// CombinePath of the folder part of file_path and the name.
std::wstring PathBesideFile(std::wstring_view file_path, std::wstring_view name);

// The folder part: everything up to and including the last "\" or ":";
// "" when there is neither.
std::wstring ExtractFilePath(std::wstring_view path);
// The name part: everything after the last "\" or ":".
std::wstring ExtractFileName(std::wstring_view path);
// The extension of the name part, from its last "." on (dot included); ""
// when the name part has no ".". A dot in a folder name is no extension.
std::wstring ExtractFileExt(std::wstring_view path);
// The name part without its last "." and what follows; the name part
// unchanged when it has no ".".
std::wstring ExtractFileTitle(std::wstring_view path);

// --- Folders the platform reports -----------------------------------------

// The platform's long form of the path; the path itself when the platform
// gives nothing (the path does not exist).
std::wstring GetLongPath(const std::wstring& path);

// Full path of the running executable.
std::wstring GetAppFileName();
// Folder of the executable in long form, ending in a backslash.
std::wstring GetAppDir();
// GetAppDir without its trailing backslash.
std::wstring GetAppDirNoSlash();
// The Windows folder, ending in a backslash.
std::wstring GetWindowsDir();
// The user's temporary folder as the platform reports it (ending in a
// backslash).
std::wstring GetTempDir();

// The string value of that name under HKEY_CURRENT_USER
// "Software\MicroSoft\Windows\CurrentVersion\Explorer\Shell Folders"; when
// that is empty, GetCommonShellFolder of the same name.
std::wstring GetShellFolder(const std::wstring& value_name);
// The same value under HKEY_LOCAL_MACHINE; "" when missing.
std::wstring GetCommonShellFolder(const std::wstring& value_name);

// A path in the folder, named prefix + random lower-case hexadecimal number
// below 0xFFFFF + "." + extension, of which no file or folder exists at the
// time of the call. The file is not created. Returns "" only when the
// platform keeps reporting every candidate as taken (or cannot tell), so
// that no free name can be found.
std::wstring MakeUniqueFileName(const std::wstring& folder, const std::wstring& prefix,
                                const std::wstring& extension);

}  // namespace brimlow
