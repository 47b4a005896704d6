// Stand-in platform only: the image's "environment" file.
#include <cstdlib>

#include "base/Text.h"
#include "platform/standin/StandinEnvironment.h"

namespace brimlow::platform::standin {
namespace {

// "6", "6.1" or "6.1.7601".
bool IsVersion(std::wstring_view text) {
  int numbers = 0;
  std::size_t start = 0;
  for (;;) {
    const auto dot = text.find(L'.', start);
    const auto part = text.substr(start, dot == std::wstring_view::npos ? dot : dot - start);
    std::int64_t value = 0;
    if (part.empty() || !ParseInt64(part, &value) || value < 0 || part[0] == L'+') return false;
    ++numbers;
    if (dot == std::wstring_view::npos) return numbers <= 3;
    start = dot + 1;
  }
}

bool Fail(const std::wstring& file_name, int line, const std::wstring& reason,
          std::wstring* error) {
  *error = file_name + L":" + std::to_wstring(line) + L": " + reason;
  return false;
}

}  // namespace

bool ParseEnvironmentFile(const std::string& content, const std::wstring& file_name,
                          EnvVariables* variables, std::wstring* error) {
  std::string_view rest = content;
  if (rest.substr(0, 3) == "\xEF\xBB\xBF") rest.remove_prefix(3);
  EnvVariables found;
  for (int line = 1; !rest.empty(); ++line) {
    const auto end = rest.find('\n');
    const std::wstring text = Trim(FromUtf8(rest.substr(0, end)));
    rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 1);
    if (text.empty() || text[0] == L'#') continue;
    const auto equals = text.find(L'=');
    if (equals == std::wstring::npos) return Fail(file_name, line, L"expected NAME=VALUE", error);
    const std::wstring name = Trim(std::wstring_view(text).substr(0, equals));
    const std::wstring value = Trim(std::wstring_view(text).substr(equals + 1));
    if (name.empty()) return Fail(file_name, line, L"the variable has no name", error);
    if (name.find(L'%') != std::wstring::npos)
      return Fail(file_name, line, L"a variable name cannot contain \"%\"", error);
    if (SameText(name, L"BRIMLOW_WINDOWS_VERSION") && !IsVersion(value))
      return Fail(file_name, line, L"BRIMLOW_WINDOWS_VERSION must look like 6.1.7601", error);
    found.emplace_back(name, value);
  }
  *variables = std::move(found);
  return true;
}

std::wstring DefaultUserName() {
  const char* user = std::getenv("USER");
  if (!user || !*user) return L"user";
  for (const char* c = user; *c; ++c) {
    const bool plain = (*c >= 'a' && *c <= 'z') || (*c >= 'A' && *c <= 'Z') ||
                       (*c >= '0' && *c <= '9') || *c == '_' || *c == '-' || *c == '.';
    if (!plain) return L"user";
  }
  return FromUtf8(user);
}

}  // namespace brimlow::platform::standin
