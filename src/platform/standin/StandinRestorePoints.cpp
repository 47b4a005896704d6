// Stand-in platform only: the System Restore client as a log of restore
// points in the system image.

#include <cstring>
#include <string>
#include <vector>

#include "base/Text.h"
#include "platform/Platform.h"
#include "platform/RestorePoints.h"

namespace brimlow::platform {
namespace {

constexpr wchar_t kFolder[] = L"C:\\System Volume Information";
constexpr wchar_t kLog[] = L"C:\\System Volume Information\\restore-points.log";
// Statuses as the platform numbers them.
constexpr std::uint32_t kWriteFault = 29;
constexpr std::uint32_t kInvalidParameter = 87;
constexpr std::size_t kDescriptionLength = 128;

struct LogLine {
  std::int64_t sequence = 0;
  std::wstring event;  // "begin" or "end"
};

// One line per call: sequence, "begin" or "end", the restore point type
// (0, application install) and the description, separated by tabs (UTF-8).
std::vector<LogLine> ReadLog() {
  Bytes content;
  std::vector<LogLine> lines;
  if (Files().ReadFile(kLog, &content) != Result::kOk) return lines;
  const std::wstring text = FromUtf8(std::string(content.begin(), content.end()));
  std::size_t pos = 0;
  while (pos < text.size()) {
    std::size_t end = text.find(L'\n', pos);
    if (end == std::wstring::npos) end = text.size();
    const std::wstring line = text.substr(pos, end - pos);
    pos = end + 1;
    const std::size_t tab = line.find(L'\t');
    LogLine entry;
    if (tab == std::wstring::npos || !ParseInt64(line.substr(0, tab), &entry.sequence)) continue;
    entry.event = line.substr(tab + 1, line.find(L'\t', tab + 1) - tab - 1);
    lines.push_back(entry);
  }
  return lines;
}

bool AppendLog(std::int64_t sequence, const std::wstring& event, const std::wstring& description) {
  Files().CreateFolder(kFolder);
  const std::string line =
      ToUtf8(std::to_wstring(sequence) + L"\t" + event + L"\t0\t" + description) + "\n";
  return Files().AppendFile(kLog, Bytes(line.begin(), line.end())) == Result::kOk;
}

class StandinRestorePoints : public RestorePoints {
 public:
  std::uint32_t BeginRestorePoint(const std::wstring& description, std::int64_t* sequence) override {
    *sequence = 0;
    std::int64_t next = 1;
    for (const LogLine& line : ReadLog()) next = std::max(next, line.sequence + 1);
    std::wstring text = description.substr(0, kDescriptionLength);
    for (wchar_t& c : text) {
      if (c == L'\t' || c == L'\r' || c == L'\n') c = L' ';
    }
    if (!AppendLog(next, L"begin", text)) return kWriteFault;
    *sequence = next;
    return 0;
  }

  std::uint32_t EndRestorePoint(std::int64_t sequence) override {
    bool begun = false;
    for (const LogLine& line : ReadLog()) {
      if (line.sequence != sequence) continue;
      if (line.event == L"end") return kInvalidParameter;
      begun = begun || line.event == L"begin";
    }
    if (!begun) return kInvalidParameter;
    return AppendLog(sequence, L"end", L"") ? 0 : kWriteFault;
  }
};

class StandinClientLibrary : public ClientLibrary {
 public:
  bool Load(const std::wstring&) override { return true; }
  bool HasEntryPoint(const char* name) override {
    return std::strcmp(name, "SRSetRestorePointW") == 0 || std::strcmp(name, "SRRemoveRestorePoint") == 0;
  }
};

}  // namespace

RestorePoints& DefaultRestorePoints() {
  static StandinRestorePoints points;
  return points;
}

ClientLibrary& SystemClientLibrary() {
  static StandinClientLibrary library;
  return library;
}

}  // namespace brimlow::platform
