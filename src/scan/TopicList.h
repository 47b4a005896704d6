#pragma once
// The ordered topic list of the scan engine and its operations. The engine
// component holds the list through this class; every operation runs on the
// main thread.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "scan/FigTopic.h"

namespace brimlow::scan {

// A line of GetChildList: a topic's "Rule_Caption" and the topic, which
// stays the list's.
struct TopicCaption {
  std::wstring caption;
  TFigTopic* topic = nullptr;
};

class TFigTopicList {
 public:
  TFigTopicList() = default;
  virtual ~TFigTopicList() = default;
  TFigTopicList(const TFigTopicList&) = delete;
  TFigTopicList& operator=(const TFigTopicList&) = delete;

  // Reads the topic database. A missing file, a wrong "MAGICWORD" or no
  // topic section loads nothing and is no failure. Returns false, with
  // "<file>:<line>: <reason>" in *error, when "DATETIME" is no month/day/
  // year date; the list then stays as it was. Fires OnTopicLoaded when at
  // least one topic was read.
  bool LoadTopics(const std::wstring& aFileName, std::wstring* error = nullptr);
  // Writes a new database; an existing file is never overwritten (returns
  // false with a reason). false also when the file cannot be written.
  bool SaveTopics(const std::wstring& aFileName, std::wstring* error = nullptr);

  int AddTopic(const std::wstring& aName);
  void DeleteTopic(int aIndex);
  void ClearTopicList();
  TFigTopic* GetTopic(int aIndex) const;  // nullptr outside the list
  int TopicCount() const { return static_cast<int>(FTopicList.size()); }
  TFigTopic* GetTopicByName(const std::wstring& aName) const;

  // The list queries append (they do not clear) and return how many lines
  // they appended; 0 when given no list.
  int GetCategoryList(TTopicCategory aCategory, std::vector<std::wstring>* aList) const;
  int GetRootList(TTopicCategory aCategory, std::vector<std::wstring>* aList) const;
  int GetChildList(TTopicCategory aCategory, const std::wstring& aRoot,
                   std::vector<TopicCaption>* aList) const;

  void SortByCategory();

  void SetTopicEnabled(int aIndex, bool aEnabled);
  void SetAllEnabled(bool aEnabled);
  void SetTopicEnabledByName(const std::wstring& aName, bool aEnabled);
  void SetTopicEnabledByCategory(TTopicCategory aCategory, bool aEnabled);
  void ResetStatus();

  std::int32_t MaxProcessingCount() const { return FMaxProcessingCount; }
  double TopicDateTime() const { return FTopicDateTime; }

  // Fired after a load that read at least one topic; the argument is the
  // list (the engine that holds it).
  std::function<void(TFigTopicList& sender)> OnTopicLoaded;

 private:
  std::vector<std::unique_ptr<TFigTopic>> FTopicList;
  std::int32_t FMaxProcessingCount = 0;
  double FTopicDateTime = 0;
};

}  // namespace brimlow::scan
