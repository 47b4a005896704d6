// Stand-in platform only: command-line splitting.
#include "platform/standin/StandinProcesses.h"

namespace brimlow::platform::standin {
namespace {

bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t'; }

// The program name: quotes delimit it, backslashes are plain characters.
std::size_t ProgramName(const std::wstring& line, std::wstring* name) {
  std::size_t i = 0;
  if (!line.empty() && line[0] == L'"') {
    const auto close = line.find(L'"', 1);
    *name = line.substr(1, close == std::wstring::npos ? std::wstring::npos : close - 1);
    return close == std::wstring::npos ? line.size() : close + 1;
  }
  while (i < line.size() && !IsBlank(line[i])) ++i;
  *name = line.substr(0, i);
  return i;
}

}  // namespace

std::vector<std::wstring> SplitCommandLine(const std::wstring& line) {
  std::vector<std::wstring> args;
  std::wstring current;
  std::size_t i = ProgramName(line, &current);
  args.push_back(current);
  current.clear();

  bool in_arg = false, quoted = false;
  while (i < line.size()) {
    const wchar_t c = line[i];
    if (IsBlank(c) && !quoted) {
      if (in_arg) args.push_back(current);
      current.clear();
      in_arg = false;
      ++i;
      continue;
    }
    in_arg = true;
    if (c == L'\\') {
      std::size_t count = 0;
      while (i < line.size() && line[i] == L'\\') ++count, ++i;
      if (i < line.size() && line[i] == L'"') {
        current.append(count / 2, L'\\');
        if (count % 2 == 1) {
          current += L'"';
          ++i;
        }
      } else {
        current.append(count, L'\\');
      }
    } else if (c == L'"') {
      if (quoted && i + 1 < line.size() && line[i + 1] == L'"') {
        current += L'"';
        i += 2;
      } else {
        quoted = !quoted;
        ++i;
      }
    } else {
      current += c;
      ++i;
    }
  }
  if (in_arg) args.push_back(current);
  return args;
}

}  // namespace brimlow::platform::standin
