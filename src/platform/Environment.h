#pragma once
// Environment variables and the folders the platform reports. Any thread.

#include <string>

namespace brimlow::platform {

class Environment {
 public:
  virtual ~Environment() = default;

  // The variable's value; empty when unset. Names ignore case.
  virtual std::wstring Variable(const std::wstring& name) = 0;

  // "%NAME%" references replaced by their values; unknown ones stay as they
  // are (as the platform's own expansion does).
  virtual std::wstring Expand(const std::wstring& text) = 0;

  // Full Windows path of the running executable.
  virtual std::wstring AppFileName() = 0;
  // The Windows folder, without a trailing backslash ("C:\Windows").
  virtual std::wstring WindowsFolder() = 0;
  // The user's temporary folder, with a trailing backslash.
  virtual std::wstring TempFolder() = 0;
  // The long form of an existing path; empty when it does not exist.
  virtual std::wstring LongPath(const std::wstring& path) = 0;
  // The platform's major version as reported to the program; 0 on failure.
  virtual int WindowsMajorVersion() = 0;
};

}  // namespace brimlow::platform
