#include "app/cli/CliTexts.h"

#include "framework/OxMultiLangData.h"

namespace brimlow::cli {
namespace {

TOxMultiLangData& English() {
  static TOxMultiLangData* data = [] {
    auto* d = new TOxMultiLangData();
    d->LoadBuiltinEnglish();
    return d;
  }();
  return *data;
}

}  // namespace

std::wstring AppText(const std::wstring& key, const std::wstring& fallback) {
  std::wstring value;
  if (!English().GetProp(L"AppRes", L"", key, &value) || value.empty()) return fallback;
  return value;
}

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
      return key + L"\\" + (item.ScanedSection.empty() ? L"(Default)" : item.ScanedSection);
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
