// Stand-in platform only.
#include "platform/standin/StandinOsVersion.h"

#include <cstdint>
#include <vector>

#include "base/Text.h"

namespace brimlow::platform::standin {
namespace {

// A number in decimal or 0x hexadecimal within [0, limit]; false otherwise.
bool ParseNumber(const std::wstring& text, std::uint32_t limit, std::uint32_t* number) {
  const std::wstring value = Trim(text);
  std::int64_t parsed = 0;
  if (value.size() > 2 && value[0] == L'0' && (value[1] == L'x' || value[1] == L'X')) {
    parsed = 0;
    for (std::size_t i = 2; i < value.size(); ++i) {
      const wchar_t c = value[i];
      int digit;
      if (c >= L'0' && c <= L'9') digit = c - L'0';
      else if (c >= L'a' && c <= L'f') digit = c - L'a' + 10;
      else if (c >= L'A' && c <= L'F') digit = c - L'A' + 10;
      else return false;
      parsed = parsed * 16 + digit;
      if (parsed > limit) return false;
    }
  } else if (!ParseInt64(value, &parsed)) {
    return false;
  }
  if (parsed < 0 || parsed > limit) return false;
  *number = static_cast<std::uint32_t>(parsed);
  return true;
}

// "6.1.7601" -> 6, 1, 7601; the build may be left out. False when malformed.
bool ParseVersion(const std::wstring& text, ReportedVersion* version) {
  std::vector<std::uint32_t> parts;
  std::size_t start = 0;
  for (;;) {
    const std::size_t dot = text.find(L'.', start);
    std::uint32_t part = 0;
    if (!ParseNumber(text.substr(start, dot - start), 0x7FFFFFFF, &part)) return false;
    parts.push_back(part);
    if (dot == std::wstring::npos) break;
    start = dot + 1;
  }
  if (parts.size() < 2 || parts.size() > 3) return false;
  version->major = parts[0];
  version->minor = parts[1];
  version->build = parts.size() == 3 ? parts[2] : 0;
  return true;
}

bool ParseProductType(const std::wstring& text, std::uint8_t* type) {
  static const struct {
    const wchar_t* name;
    std::uint8_t type;
  } kNames[] = {{L"workstation", OsProductType::kWorkstation},
                {L"domaincontroller", OsProductType::kDomainController},
                {L"server", OsProductType::kServer}};
  for (const auto& entry : kNames) {
    if (SameText(Trim(text), entry.name)) {
      *type = entry.type;
      return true;
    }
  }
  std::uint32_t number = 0;
  if (!ParseNumber(text, 0xFF, &number)) return false;
  *type = static_cast<std::uint8_t>(number);
  return true;
}

bool ParseArchitecture(const std::wstring& text, std::uint16_t* architecture) {
  static const struct {
    const wchar_t* name;
    std::uint16_t architecture;
  } kNames[] = {{L"x86", OsArchitecture::kIntel},
                {L"ia64", OsArchitecture::kIa64},
                {L"amd64", OsArchitecture::kAmd64},
                {L"x64", OsArchitecture::kAmd64}};
  for (const auto& entry : kNames) {
    if (SameText(Trim(text), entry.name)) {
      *architecture = entry.architecture;
      return true;
    }
  }
  std::uint32_t number = 0;
  if (!ParseNumber(text, 0xFFFF, &number)) return false;
  *architecture = static_cast<std::uint16_t>(number);
  return true;
}

// The numbers of a trailing "Service Pack N" or "Service Pack N.M".
void ServicePackNumbers(const std::wstring& text, ReportedVersion* version) {
  static const std::wstring kPrefix = L"Service Pack ";
  const std::wstring trimmed = Trim(text);
  if (trimmed.size() <= kPrefix.size() || !SameText(trimmed.substr(0, kPrefix.size()), kPrefix)) return;
  const std::wstring numbers = trimmed.substr(kPrefix.size());
  const std::size_t dot = numbers.find(L'.');
  std::uint32_t major = 0, minor = 0;
  if (!ParseNumber(numbers.substr(0, dot), 0xFFFF, &major)) return;
  if (dot != std::wstring::npos && !ParseNumber(numbers.substr(dot + 1), 0xFFFF, &minor)) return;
  version->service_pack_major = static_cast<std::uint16_t>(major);
  version->service_pack_minor = static_cast<std::uint16_t>(minor);
}

bool IsTrue(const std::wstring& text) { return Trim(text) == L"1" || SameText(Trim(text), L"true"); }

}  // namespace

bool StandinOsVersion::Query(ReportedVersion* version) {
  auto variable = [this](const wchar_t* name) { return environment_.Variable(name); };
  ReportedVersion answer;
  answer.extended = Trim(variable(L"BRIMLOW_WINDOWS_EXTENDED")) != L"0";
  if (!ParseVersion(variable(L"BRIMLOW_WINDOWS_VERSION"), &answer)) {
    answer.major = 6;
    answer.minor = 1;
    answer.build = 7601;
  }
  std::uint32_t platform_id = OsPlatformId::kWindowsNt;
  ParseNumber(variable(L"BRIMLOW_WINDOWS_PLATFORM"), 2, &platform_id);
  answer.platform_id = platform_id;
  const std::wstring service_pack = variable(L"BRIMLOW_WINDOWS_SERVICE_PACK");
  answer.service_pack = service_pack.empty() ? L"Service Pack 1" : service_pack;
  if (answer.extended) {
    ServicePackNumbers(answer.service_pack, &answer);
    std::uint32_t suite_mask = 0x100;  // single user
    ParseNumber(variable(L"BRIMLOW_WINDOWS_SUITE_MASK"), 0xFFFF, &suite_mask);
    answer.suite_mask = static_cast<std::uint16_t>(suite_mask);
    answer.product_type = OsProductType::kWorkstation;
    ParseProductType(variable(L"BRIMLOW_WINDOWS_PRODUCT_TYPE"), &answer.product_type);
  }
  std::uint32_t r2 = 0;
  ParseNumber(variable(L"BRIMLOW_WINDOWS_R2"), 0x7FFFFFFF, &r2);
  answer.server_r2 = static_cast<int>(r2);
  ParseArchitecture(variable(L"BRIMLOW_WINDOWS_ARCHITECTURE"), &answer.native_architecture);
  *version = answer;
  return true;
}

bool StandinOsVersion::IsWow64() { return IsTrue(environment_.Variable(L"BRIMLOW_WINDOWS_WOW64")); }

}  // namespace brimlow::platform::standin
