#pragma once
// Folders the command-line tool's sub-commands share, so that a cure and
// the backup list look in the same place.

#include <string>

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

}  // namespace brimlow::cli
