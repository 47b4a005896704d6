#pragma once
// Folders and files the command-line tool's sub-commands share, so that a
// cure and the backup list look in the same place and every file argument
// fails with the same words.

#include <string>

#include "base/Text.h"

namespace brimlow {
class TOxSettings;
}

namespace brimlow::cli {

// The folder of the backups and of "info.rec", without a trailing
// backslash: the --backup-dir option made a full Windows path (a host path
// becomes its drive Z: name on the stand-in), or, when the option is empty,
// the "backup" folder in the store's user data folder. Main thread; the
// platform must be open.
std::wstring BackupFolder(const std::string& backup_dir_option, const TOxSettings& settings);

// Reads a file named on the command line. false, with "FILE: no such file"
// or "FILE: cannot be read" (from the language data) in *error, when it
// cannot.
bool ReadArgumentFile(const std::wstring& path, Bytes* content, std::wstring* error);

}  // namespace brimlow::cli
