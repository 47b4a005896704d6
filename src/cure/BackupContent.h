#pragma once
// What a backup file holds: how many changes it restores, and whether the
// registry holds them after a merge. Plain computations over the file's
// bytes and the current registry; any thread.

#include <string>
#include <vector>

#include "base/Text.h"

namespace brimlow::cure {

// The number of changes a backup restores: each value it sets counts once
// (a value backed up twice -- display form, then lossless form -- is one
// change), and so does each key it brings back without values of its own
// or subkeys in the file. A file the registry-file reader rejects is
// counted the way older versions did, (lines - 2) / 3: two header lines and
// three lines per section. Header only: 0.
int CountBackupChanges(const Bytes& content);
// CountBackupChanges of the file as decimal text; "0" when it cannot be
// read.
std::wstring BackupChangeCount(const std::wstring& path);

// Compares the registry with what merging the backup leaves there: every
// value set (by its last setting in the file) must be present with the same
// type and data -- strings compared without their terminating zeros --,
// every value deleted must be absent, and every key named must exist. Appends what is not, as
// "HKEY_...\path\name" or "HKEY_...\path\", to *missing. false (with
// "line N: reason" in *missing) when the file cannot be read as a registry
// file, so nothing can be confirmed.
bool BackupIsInRegistry(const Bytes& content, std::vector<std::wstring>* missing);

}  // namespace brimlow::cure
