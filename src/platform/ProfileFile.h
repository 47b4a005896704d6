#pragma once
// INI files read and written with the platform's profile-string semantics:
// section and key names compare without regard to case, a value comes back
// trimmed of surrounding blanks and without one pair of enclosing double or
// single quotes, and is cut to 2047 characters.
//
// The Windows build reads through the platform's own profile functions; the
// stand-in has none (the scan layer then uses its portable reader, which
// gives the same answers).

#include <memory>
#include <string>
#include <vector>

namespace brimlow::platform {

class ProfileFile {
 public:
  virtual ~ProfileFile() = default;

  // The value of the key; the default (processed like a value) when the
  // section, the key or its "=" is missing. Never fails: an unreadable file
  // reads as empty.
  virtual std::wstring ReadString(const std::wstring& section, const std::wstring& key,
                                  const std::wstring& default_value) = 0;

  // The key names of the section in file order (lines without "=", comment
  // lines starting with ";" and blank lines left out); empty when the
  // section is missing.
  virtual std::vector<std::wstring> ReadSection(const std::wstring& section) = 0;

  // Sets the key (creating the file, section and key when missing). The
  // change may be held back until Flush. false when it cannot be made.
  virtual bool WriteString(const std::wstring& section, const std::wstring& key,
                           const std::wstring& value) = 0;

  // Writes held-back changes to the file. true when the file holds them.
  virtual bool Flush() = 0;
};

// The platform's own reader for the INI file at the Windows path; nullptr
// where the platform has none.
std::unique_ptr<ProfileFile> OpenNativeProfile(const std::wstring& path);

}  // namespace brimlow::platform
