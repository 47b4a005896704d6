#pragma once
// Stand-in platform only: environment variables of a system image.
//
// The image's "environment" file holds NAME=VALUE lines (UTF-8; "#" starts a
// comment line; names ignore case). Windows-like defaults fill in every
// variable the file leaves out, built from the ones it sets: USERPROFILE
// follows USERNAME, APPDATA and TEMP follow USERPROFILE, and so on.
//
// BRIMLOW_WINDOWS_VERSION ("major.minor.build", default "6.1.7601") is the
// version the image's system reports.

#include <filesystem>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "base/Text.h"
#include "platform/Environment.h"
#include "platform/standin/DriveMap.h"

namespace brimlow::platform::standin {

using EnvVariables = std::vector<std::pair<std::wstring, std::wstring>>;

// Reads the lines of an environment file. On a malformed line returns false
// with "<file_name>:<line>: <reason>" in *error.
bool ParseEnvironmentFile(const std::string& content, const std::wstring& file_name,
                          EnvVariables* variables, std::wstring* error);

// The user name an image gets when nothing names one: the host's, when it
// is a plain name, else "user".
std::wstring DefaultUserName();

class StandinEnvironment : public Environment {
 public:
  // The file's variables over the defaults. The map must outlive this object.
  StandinEnvironment(const EnvVariables& from_file, const DriveMap& drives);

  std::wstring Variable(const std::wstring& name) override;
  std::wstring Expand(const std::wstring& text) override;
  std::wstring AppFileName() override;
  std::wstring WindowsFolder() override;
  std::wstring TempFolder() override;
  std::wstring LongPath(const std::wstring& path) override;
  int WindowsMajorVersion() override;

 private:
  struct NoCase {
    bool operator()(const std::wstring& a, const std::wstring& b) const {
      return CompareText(a, b) < 0;
    }
  };
  std::map<std::wstring, std::wstring, NoCase> variables_;  // fixed after construction
  const DriveMap& drives_;
};

}  // namespace brimlow::platform::standin
