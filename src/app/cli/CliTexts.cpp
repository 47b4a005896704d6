#include "app/cli/CliTexts.h"

#include "base/Text.h"
#include "framework/OxMultiLangData.h"
#include "framework/OxSettings.h"
#include "framework/utils/TextUtils.h"
#include "platform/Platform.h"

namespace brimlow::cli {
namespace {

// The current language is the chosen one, the default the built-in English.
TOxMultiLangData& Texts() {
  static TOxMultiLangData* data = [] {
    auto* d = new TOxMultiLangData();
    d->LoadBuiltinEnglish();
    return d;
  }();
  return *data;
}

bool IsFile(const std::wstring& path) {
  platform::FileEntry entry;
  return platform::Ok(platform::Files().Stat(path, &entry)) && !entry.IsFolder();
}

}  // namespace

std::wstring AppText(const std::wstring& key, const std::wstring& fallback) {
  std::wstring value;
  if (!Texts().GetProp(L"AppRes", L"", key, &value) || value.empty()) return fallback;
  return value;
}

std::wstring AppText(const std::wstring& key, const std::wstring& fallback,
                     const std::vector<std::wstring>& values) {
  return FormatPlaceholders(AppText(key, fallback), values);
}

std::wstring LanguageFile(const TOxSettings& settings, const std::wstring& name) {
  return settings.ConstDataPath() + settings.GetSettingString(L"Path.Languages") + L"\\" + name +
         L".lan";
}

void UseChosenLanguage(const TOxSettings& settings) {
  UseBuiltinEnglish();
  std::wstring name = settings.GetSettingString(L"Language");
  if (name.empty()) name = L"English";
  const std::wstring path = LanguageFile(settings, name);
  // An unreadable file leaves the English in place.
  if (IsFile(path)) Texts().LoadCurrentFromFile(path);
}

void UseBuiltinEnglish() { Texts().LoadBuiltinEnglish(); }

std::wstring CategoryTitle(scan::TTopicCategory category) {
  switch (category) {
    case scan::tcARegFix: return AppText(L"Title.RegistryFix", L"Registry Clean");
    case scan::tcBPrivacySweep: return AppText(L"Title.PrivacySweep", L"Privacy Sweep");
    case scan::tcCJunkFile: return AppText(L"Title.JunkFilesClean", L"Junk Files Removal");
    case scan::tcDSystemOptimization: return AppText(L"Title.SystemOptimization", L"System Optimization");
    default: return std::wstring(scan::NameOf(category));
  }
}

std::wstring FindingLocation(const scan::TFigScanedItem& item) {
  const std::wstring key = item.ScanedRoot + L"\\" + item.ScanedPath;
  switch (item.LocationStyle) {
    case scan::lsRegistry:
      if (!item.ValueCheck) return key;
      if (item.ScanedSection.empty()) return key + L"\\" + AppText(L"Cli.DefaultValue", L"(Default)");
      return key + L"\\" + item.ScanedSection;
    case scan::lsRegistryItem:
      return key + L" -> " + item.ScanedName;
    case scan::lsDisk:
      if (item.RuleStyle == scan::rsRurudOraziv) return item.ScanedRoot + L" " + item.ScanedName;
      return item.ScanedPath + item.ScanedName;
    default:
      return item.ScanedName;
  }
}

}  // namespace brimlow::cli
