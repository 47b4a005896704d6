#include "cure/BackupNames.h"

#include <cwchar>

#include "base/Text.h"
#include "framework/utils/Paths.h"
#include "platform/Platform.h"

namespace brimlow::cure {

std::wstring BackupStamp(const std::tm& t) {
  wchar_t text[32];
  std::swprintf(text, 32, L"%02d%02d%04d%02d%02d%02d", t.tm_mon + 1, t.tm_mday, t.tm_year + 1900, t.tm_hour,
                t.tm_min, t.tm_sec);
  return text;
}

std::wstring IndexTime(const std::tm& t) {
  wchar_t text[32];
  std::swprintf(text, 32, L"%04d-%02d-%02d %02d:%02d:%02d", t.tm_year + 1900, t.tm_mon + 1, t.tm_mday, t.tm_hour,
                t.tm_min, t.tm_sec);
  return text;
}

// Called on the main thread only, so the shared buffer of localtime is safe.
std::tm LocalNow() {
  const std::time_t now = std::time(nullptr);
  return *std::localtime(&now);
}

std::wstring UniqueBackupFileName(const std::wstring& folder, const std::wstring& stamp) {
  platform::FileEntry entry;
  std::wstring name = stamp + L".reg";
  for (int n = 2; platform::Files().Stat(CombinePath(folder, name), &entry) == platform::Result::kOk; ++n) {
    name = stamp + L"-" + std::to_wstring(n) + L".reg";
  }
  return name;
}

bool AppendIndexLine(const std::wstring& folder, const std::wstring& line, std::wstring* error) {
  const std::wstring path = CombinePath(folder, L"info.rec");
  Bytes content;
  const platform::Result read = platform::Files().ReadFile(path, &content);
  if (read == platform::Result::kFailed) {
    *error = L"cannot read " + path;
    return false;
  }
  if (!content.empty() && content.back() != '\n') {
    content.push_back('\r');
    content.push_back('\n');
  }
  const std::string bytes = ToAnsi(line + L"\r\n");
  content.insert(content.end(), bytes.begin(), bytes.end());
  if (platform::Files().WriteFileAtomic(path, content) != platform::Result::kOk) {
    *error = L"cannot write " + path;
    return false;
  }
  return true;
}

}  // namespace brimlow::cure
