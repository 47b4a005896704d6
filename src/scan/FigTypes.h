#pragma once
// The records and enumerations that travel from the scan through the cure to
// the user interface.
//
// The enumerations are stored in the topic database and shown through
// language keys by their names, so names and ordinals are fixed. Each is one
// byte; a name that is not in a list reads as -1, which is no valid ordinal.
// The records are plain values: they are copied whole (strings included)
// whenever they pass between threads or owners.

#include <cstdint>
#include <string>
#include <string_view>

namespace brimlow::scan {

enum TLocationStyle : std::int8_t {
  lsUnknow = 0,
  lsRegistry = 1,
  lsDisk = 2,
  lsRegistryItem = 3,
};

enum TTopicCategory : std::int8_t {
  tcUnknow = 0,
  tcARegFix = 1,
  tcBPrivacySweep = 2,
  tcCJunkFile = 3,
  tcDSystemOptimization = 4,
};

enum TTopicStatus : std::int8_t {
  tsUncured = 0,
  tsCured = 1,
};

enum TRuleStyle : std::int8_t {
  rsRegistryBoostOrFix = 0,
  rsActiveX = 1,
  rsUninstall = 2,
  rsAppPaths = 3,
  rsFonts = 4,
  rsSharedDlls = 5,
  rsHelp = 6,
  rsDrivers = 7,
  rsShortcuts = 8,
  rsHistoryNMRU = 9,
  rsStartup = 10,
  rsFileType = 11,
  rsEmptyKey = 12,
  rsJunkFile = 13,
  rsRegistryHistory = 14,
  rsRurudOraziv = 15,
};

enum TFigReason : std::int8_t {
  frActiveXServerCmdNotExists = 0,
  frActiveXTypeLibNotExists = 1,
  frActiveXAppIDNotExists = 2,
  frActiveXEmptyKey = 3,
  frUninstallFileNotExists = 4,
  frEmptyUninstallInfo = 5,
  frAppPathNotExists = 6,
  frFontNotFound = 7,
  frSharedDllNotFound = 8,
  frSharedDllIsNotUsed = 9,
  frHelpFileNotFound = 10,
  frDriverNotFound = 11,
  frShortcutLinkError = 12,
  frHistoryNMRU = 13,
  frStartupItemNotCorrect = 14,
  frNoAppOpenWithFile = 15,
  frEmptyKey = 16,
  frJunkFile = 17,
  frRegistryHistory = 18,
  frIEStartPageIsNotBlank = 19,
  frNeedRegistryBoostOrFix = 20,
  frNeedSweep = 21,
};

enum TFigCureStatus : std::int8_t {
  csUncured = 0,
  csCured = 1,
  csIgnored = 2,
};

// The name of a value as written above; empty for a value outside the list
// (such as -1).
std::wstring_view NameOf(TLocationStyle value);
std::wstring_view NameOf(TTopicCategory value);
std::wstring_view NameOf(TTopicStatus value);
std::wstring_view NameOf(TRuleStyle value);
std::wstring_view NameOf(TFigReason value);
std::wstring_view NameOf(TFigCureStatus value);

// The ordinal of a name, compared without regard to case; -1 when the name
// is not in the list.
int LocationStyleFromName(std::wstring_view name);
int TopicCategoryFromName(std::wstring_view name);
int TopicStatusFromName(std::wstring_view name);
int RuleStyleFromName(std::wstring_view name);
int FigReasonFromName(std::wstring_view name);
int FigCureStatusFromName(std::wstring_view name);

// The rule processor's verdict on one item.
struct TFigResultItem {
  std::wstring Msg;           // empty when nothing matched
  std::int32_t Level = 0;     // the topic's LEVEL on a match, else 0
  TFigReason Reason = frActiveXServerCmdNotExists;  // meaningful on a match only
  bool MatchFlag = false;     // set only by the junk-file check
};

// One scanned item; after a match, one finding.
struct TFigScanedItem {
  std::int32_t SID = 0;  // the finding's index in the scan; 0 when no match
  std::wstring TopicName;
  TTopicCategory Category = tcUnknow;
  TRuleStyle RuleStyle = rsRegistryBoostOrFix;
  std::wstring RuleParams;   // the rule's fields, each followed by CR LF
  std::wstring RuleCaption;
  TFigResultItem FigResult;
  TLocationStyle LocationStyle = lsUnknow;
  std::wstring ScanedRoot;
  std::wstring ScanedPath;
  std::wstring ScanedSection;
  std::wstring ScanedName;
  std::int32_t CurrentPer = 0;
  bool ValueCheck = false;  // true: the finding is one value, false: a key
  bool Checked = false;     // initial selection for the cure
};

// The counters of one scan.
struct TFigSummary {
  std::int64_t AllCount = 0;
  std::int64_t RegistryItemCount = 0;
  std::int64_t FileCount = 0;
  std::int64_t FileSizeCount = 0;
  std::int64_t MatchedAllCount = 0;
  std::int64_t MatchedRegItemCount = 0;
  std::int64_t MatchedFileCount = 0;
  std::int64_t MatchedFileSizeCount = 0;
};

// The rule text's fields (cut at every ",", empty fields kept), each
// followed by CR LF: the form a finding's RuleParams holds.
std::wstring FormatRuleParams(std::wstring_view rule);

}  // namespace brimlow::scan
