#pragma once
// The INI files the scan reads (the topic database): one interface, the
// platform's own profile functions where the platform has them, else the
// portable reader below, which implements the same semantics.

#include <memory>
#include <string>

#include "platform/ProfileFile.h"

namespace brimlow::scan {

using ProfileIni = platform::ProfileFile;

// The reader of this build for the INI file at the Windows path: the
// platform's profile functions when there are some, else the portable one.
// A missing file reads as empty; it is created on the first flushed write.
std::unique_ptr<ProfileIni> OpenProfileIni(const std::wstring& path);

// The portable reader, over platform::Files(). Loads the file once when
// opened; writes are held in memory until Flush (or destruction).
std::unique_ptr<ProfileIni> OpenPortableProfileIni(const std::wstring& path);

// The 1-based line of the key in the section of an INI file, as the
// portable reader sees it; 0 when the file, the section or the key is not
// there. For messages about a bad value.
int ProfileKeyLine(const std::wstring& path, const std::wstring& section,
                   const std::wstring& key);

}  // namespace brimlow::scan
