// Win32 only: INI files through GetPrivateProfileStringW and
// WritePrivateProfileStringW.

#include <windows.h>

#include "platform/ProfileFile.h"

namespace brimlow::platform {
namespace {

constexpr DWORD kValueBuffer = 2048;  // values are cut to 2047 characters

class Win32Profile : public ProfileFile {
 public:
  explicit Win32Profile(std::wstring path) : path_(std::move(path)) {}

  std::wstring ReadString(const std::wstring& section, const std::wstring& key,
                          const std::wstring& default_value) override {
    wchar_t buffer[kValueBuffer];
    const DWORD length = GetPrivateProfileStringW(section.c_str(), key.c_str(),
                                                  default_value.c_str(), buffer,
                                                  kValueBuffer, path_.c_str());
    return std::wstring(buffer, length);
  }

  std::vector<std::wstring> ReadSection(const std::wstring& section) override {
    // With no key name the call lists the section's keys, each ended by a
    // zero; it answers size - 2 when the buffer was too small.
    std::vector<wchar_t> buffer(4096);
    DWORD length = 0;
    while (true) {
      length = GetPrivateProfileStringW(section.c_str(), nullptr, L"", buffer.data(),
                                        static_cast<DWORD>(buffer.size()), path_.c_str());
      if (length + 2 < buffer.size()) break;
      buffer.resize(buffer.size() * 2);
    }
    std::vector<std::wstring> keys;
    for (DWORD start = 0; start < length;) {
      std::wstring key(buffer.data() + start);
      start += static_cast<DWORD>(key.size()) + 1;
      keys.push_back(std::move(key));
    }
    return keys;
  }

  bool WriteString(const std::wstring& section, const std::wstring& key,
                   const std::wstring& value) override {
    return WritePrivateProfileStringW(section.c_str(), key.c_str(), value.c_str(),
                                      path_.c_str()) != 0;
  }

  bool Flush() override {
    // Null section, key and value flush the platform's cache of the file.
    WritePrivateProfileStringW(nullptr, nullptr, nullptr, path_.c_str());
    return GetFileAttributesW(path_.c_str()) != INVALID_FILE_ATTRIBUTES;
  }

 private:
  std::wstring path_;
};

}  // namespace

std::unique_ptr<ProfileFile> OpenNativeProfile(const std::wstring& path) {
  return std::make_unique<Win32Profile>(path);
}

}  // namespace brimlow::platform
