#include "scan/FigTypes.h"

#include <array>

#include "base/Text.h"

namespace brimlow::scan {
namespace {

constexpr std::array<std::wstring_view, 4> kLocationStyles = {
    L"lsUnknow", L"lsRegistry", L"lsDisk", L"lsRegistryItem"};

constexpr std::array<std::wstring_view, 5> kTopicCategories = {
    L"tcUnknow", L"tcARegFix", L"tcBPrivacySweep", L"tcCJunkFile", L"tcDSystemOptimization"};

constexpr std::array<std::wstring_view, 2> kTopicStatuses = {L"tsUncured", L"tsCured"};

constexpr std::array<std::wstring_view, 16> kRuleStyles = {
    L"rsRegistryBoostOrFix", L"rsActiveX",     L"rsUninstall",   L"rsAppPaths",
    L"rsFonts",              L"rsSharedDlls",  L"rsHelp",        L"rsDrivers",
    L"rsShortcuts",          L"rsHistoryNMRU", L"rsStartup",     L"rsFileType",
    L"rsEmptyKey",           L"rsJunkFile",    L"rsRegistryHistory", L"rsRurudOraziv"};

constexpr std::array<std::wstring_view, 22> kFigReasons = {
    L"frActiveXServerCmdNotExists", L"frActiveXTypeLibNotExists", L"frActiveXAppIDNotExists",
    L"frActiveXEmptyKey",           L"frUninstallFileNotExists",  L"frEmptyUninstallInfo",
    L"frAppPathNotExists",          L"frFontNotFound",            L"frSharedDllNotFound",
    L"frSharedDllIsNotUsed",        L"frHelpFileNotFound",        L"frDriverNotFound",
    L"frShortcutLinkError",         L"frHistoryNMRU",             L"frStartupItemNotCorrect",
    L"frNoAppOpenWithFile",         L"frEmptyKey",                L"frJunkFile",
    L"frRegistryHistory",           L"frIEStartPageIsNotBlank",   L"frNeedRegistryBoostOrFix",
    L"frNeedSweep"};

constexpr std::array<std::wstring_view, 3> kFigCureStatuses = {L"csUncured", L"csCured",
                                                               L"csIgnored"};

template <std::size_t N>
std::wstring_view Lookup(const std::array<std::wstring_view, N>& names, int ordinal) {
  if (ordinal < 0 || ordinal >= static_cast<int>(N)) return {};
  return names[static_cast<std::size_t>(ordinal)];
}

template <std::size_t N>
int Find(const std::array<std::wstring_view, N>& names, std::wstring_view name) {
  for (std::size_t i = 0; i < N; ++i) {
    if (SameText(names[i], name)) return static_cast<int>(i);
  }
  return -1;
}

}  // namespace

std::wstring_view NameOf(TLocationStyle value) { return Lookup(kLocationStyles, value); }
std::wstring_view NameOf(TTopicCategory value) { return Lookup(kTopicCategories, value); }
std::wstring_view NameOf(TTopicStatus value) { return Lookup(kTopicStatuses, value); }
std::wstring_view NameOf(TRuleStyle value) { return Lookup(kRuleStyles, value); }
std::wstring_view NameOf(TFigReason value) { return Lookup(kFigReasons, value); }
std::wstring_view NameOf(TFigCureStatus value) { return Lookup(kFigCureStatuses, value); }

int LocationStyleFromName(std::wstring_view name) { return Find(kLocationStyles, name); }
int TopicCategoryFromName(std::wstring_view name) { return Find(kTopicCategories, name); }
int TopicStatusFromName(std::wstring_view name) { return Find(kTopicStatuses, name); }
int RuleStyleFromName(std::wstring_view name) { return Find(kRuleStyles, name); }
int FigReasonFromName(std::wstring_view name) { return Find(kFigReasons, name); }
int FigCureStatusFromName(std::wstring_view name) { return Find(kFigCureStatuses, name); }

std::wstring FormatRuleParams(std::wstring_view rule) {
  std::wstring result;
  std::size_t start = 0;
  while (true) {
    const std::size_t comma = rule.find(L',', start);
    result.append(rule.substr(start, comma - start));
    result.append(L"\r\n");
    if (comma == std::wstring_view::npos) break;
    start = comma + 1;
  }
  return result;
}

}  // namespace brimlow::scan
