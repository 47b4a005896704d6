#pragma once
// Single instance, the program's windows, mail, access checks and the
// platform's version: thin functions over the platform in force.
//
// The window and mail functions keep to the main thread. On the stand-in
// they answer "not available" (see platform/Desktop.h); the instance mutex
// and the access check have honest stand-in equivalents.

#include <cstdint>
#include <string>
#include <vector>

#include "framework/utils/Programs.h"

namespace brimlow {

// Creates the named mutex and keeps it until the process ends; false when
// it already existed (another instance runs). Any thread.
bool IsFirstInstance(const std::wstring& mutex_name);

// Restores, shows and brings the window to the foreground past the
// platform's foreground lock; true when it is the foreground window then.
bool ForceForegroundWindow(OwnerWindow window);

// Puts the window into the top-most band or back into the normal one,
// without moving, sizing or reordering its owner.
void SetWindowTopMost(OwnerWindow window, bool on);

// Opens the mail client's compose dialog with the "name=value" fields ("to",
// "subject", "body", "attachment0" ...); the client's status (0: sent).
std::uint32_t ComposeMail(OwnerWindow owner, const std::vector<std::wstring>& fields);

// Whether the current user may open the path with the generic rights of
// the mask (GENERIC_READ 0x80000000 ...); false on any failure. Any thread.
bool CheckFileAccess(std::uint32_t access_mask, const std::wstring& path);

// The platform's major version as reported to the program; 0 when the
// query fails. Any thread.
int GetWindowsMajorVersion();

}  // namespace brimlow
