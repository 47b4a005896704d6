#pragma once
// The rule processor: decides whether one scanned item is a problem.
//
// The scan worker makes one processor per item and asks it once. The sixteen
// checks carry the knowledge of what makes a registry entry stale, a file
// junk or a setting improvable; they read the live registry and file system.
// Scan worker thread only; no state beyond one call.

#include <memory>
#include <string>
#include <vector>

#include "scan/FigTypes.h"

namespace brimlow::scan {

class FileProbe;
class RegistryProbe;

// What every processor of one topic shares: the rule and the topic's
// values, prepared once (the rule split into its fields, the exceptions
// parsed) and read by each item's processor.
struct TFigRuleTopic {
  // aRegItemList: the topic's REGITEM lines; aTopicExceptOptions: its
  // "EXCEPTOPTIONS" value.
  TFigRuleTopic(const std::wstring& aRuleString, const std::wstring& aRuleCaption,
                const std::vector<std::wstring>& aRegItemList, TTopicStatus aTopicStatus,
                const std::wstring& aTopicExceptOptions);

  std::wstring RuleString;
  std::wstring RuleCaption;
  std::vector<std::wstring> RuleParams;  // the rule's fields
  int RuleStyle = -1;                    // -1 when field 0 names no style
  std::vector<std::wstring> RegItemList;
  TTopicStatus TopicStatus = tsUncured;
  std::vector<std::wstring> ExceptOptions;  // upper-cased
};

class TFigRuleProcessor {
 public:
  // Copies everything it is given. Existence questions go to `probe` (the
  // platform directly when none is given).
  TFigRuleProcessor(const std::wstring& aRuleString, const std::wstring& aRuleCaption,
                    TLocationStyle aLocationStyle, const std::wstring& aRoot,
                    const std::wstring& aPath, const std::wstring& aSection,
                    const std::wstring& aName, const std::vector<std::wstring>& aRegItemList,
                    TTopicStatus aTopicStatus, const std::wstring& aTopicExceptOptions,
                    FileProbe* probe = nullptr);
  // The scan's form, one per item at no copying cost: the topic and the
  // item's texts are referred to and must outlive the processor. Registry
  // questions go to `registry` (the platform directly when none is given).
  TFigRuleProcessor(const TFigRuleTopic& aTopic, TLocationStyle aLocationStyle, const std::wstring& aRoot,
                    const std::wstring& aPath, const std::wstring& aSection, const std::wstring& aName,
                    FileProbe* probe = nullptr, RegistryProbe* registry = nullptr);
  ~TFigRuleProcessor();
  TFigRuleProcessor(const TFigRuleProcessor&) = delete;
  TFigRuleProcessor& operator=(const TFigRuleProcessor&) = delete;

  // true when the item matches; then Ret.Msg and Ret.Reason (and for junk
  // files Ret.MatchFlag) are set. Ret.MatchFlag is always cleared first;
  // otherwise Ret keeps what the caller put in it.
  bool DoSearch(TFigResultItem& Ret);

  const std::wstring& RuleString() const { return FTopic.RuleString; }
  const std::wstring& RuleCaption() const { return FTopic.RuleCaption; }
  TLocationStyle LocationStyle() const { return FLocationStyle; }
  const std::wstring& RootName() const { return FRoot; }
  const std::wstring& PathName() const { return FPath; }
  const std::wstring& Section() const { return FSection; }
  const std::wstring& Name() const { return FName; }
  // -1 when field 0 names no style.
  int RuleStyle() const { return FTopic.RuleStyle; }
  const std::vector<std::wstring>& RuleParams() const { return FTopic.RuleParams; }

 private:
  struct Owned;  // what the copying constructor keeps

  TFigRuleProcessor(std::unique_ptr<Owned> owned, TLocationStyle aLocationStyle, FileProbe* probe);

  bool Match(TFigResultItem& Ret, const std::wstring& msg, TFigReason reason);
  std::wstring Field(std::size_t index) const;

  bool CheckRegistryBoostOrFix(TFigResultItem& Ret);
  bool CheckActiveX(TFigResultItem& Ret);
  bool CheckUninstall(TFigResultItem& Ret);
  bool CheckAppPaths(TFigResultItem& Ret);
  bool CheckFonts(TFigResultItem& Ret);
  bool CheckSharedDlls(TFigResultItem& Ret);
  bool CheckHelp(TFigResultItem& Ret);
  bool CheckDrivers(TFigResultItem& Ret);
  bool CheckShortcuts(TFigResultItem& Ret);
  bool CheckHistoryNMRU(TFigResultItem& Ret);
  bool CheckStartup(TFigResultItem& Ret);
  bool CheckFileType(TFigResultItem& Ret);
  bool CheckEmptyKey(TFigResultItem& Ret);
  bool CheckJunkFile(TFigResultItem& Ret);

  std::unique_ptr<Owned> FOwned;  // null for the scan's form
  const TFigRuleTopic& FTopic;
  TLocationStyle FLocationStyle;
  const std::wstring& FRoot;
  const std::wstring& FPath;
  const std::wstring& FSection;
  const std::wstring& FName;
  FileProbe* FProbe;
  RegistryProbe* FRegistry;
};

// A command line reduced to the file it starts, and whether that file
// exists. See ResolveCommandFile in FigRuleHelpers.cpp for the steps.
struct ResolvedCommand {
  std::wstring path;
  bool exists = false;
};
ResolvedCommand ResolveCommandFile(const std::wstring& command, FileProbe* probe = nullptr);

// "%NAME%rest" -> the variable's value followed by rest; texts with fewer
// than two "%" stay unchanged.
std::wstring ExpandEnvVariable(const std::wstring& text);

// The folder part of the text (quotes removed) names an existing folder.
bool SourceFolderExists(const std::wstring& text, FileProbe* probe = nullptr);

// "EXCEPTOPTIONS" as comma text, upper-cased: fields end at a comma or a
// blank, a double-quoted field may hold both, two commas give an empty field.
std::vector<std::wstring> SplitCommaText(const std::wstring& text);

}  // namespace brimlow::scan
