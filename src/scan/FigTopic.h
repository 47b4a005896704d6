#pragma once
// One topic of the topic database: its key=value lines in file order and a
// status that is never stored.

#include <cstdint>
#include <string>
#include <vector>

#include "scan/FigTypes.h"
#include "scan/ProfileIni.h"

namespace brimlow::scan {

class TFigTopic {
 public:
  TFigTopic() = default;

  // Copies the other topic's lines and status.
  void Assign(const TFigTopic& aTopic);

  // Replaces the lines with every key of section "TOPIC_" + aIdx and its
  // value, in file order.
  void Load(ProfileIni& aIni, int aIdx);
  // Writes every line into section "TOPIC_" + aIdx, the value trimmed and
  // enclosed in double quotes (which the reader removes again); nothing
  // when the topic has no name. false when a write failed.
  bool Save(ProfileIni& aIni, int aIdx) const;

  // The value of the key (compared without regard to case); empty when
  // missing.
  std::wstring GetValue(std::wstring_view key) const;
  // Replaces the first line of the key, or appends one; an empty value
  // removes the line, as a string list's named values do.
  void SetValue(std::wstring_view key, std::wstring_view value);

  std::wstring GetLocation(int index) const;     // LOCATION_index
  std::wstring GetRegItemLine(int index) const;  // REGITEM_index

  std::wstring Name() const { return GetValue(L"Name"); }
  void SetName(std::wstring_view name) { SetValue(L"Name", name); }
  TTopicStatus Status() const { return FStatus; }
  void SetStatus(TTopicStatus status) { FStatus = status; }
  // -1 (no category) when the name is missing or unknown.
  TTopicCategory Category() const;
  void SetCategory(TTopicCategory category);
  // Counted from index 0 up to the first missing or empty entry.
  int LocationsCount() const;
  int RegItemsCount() const;
  // REGITEM_0 .. REGITEM_(RegItemsCount - 1), rebuilt on every call; the
  // list stays the topic's.
  const std::vector<std::wstring>& RegItem() const;
  // "ENABLED" read as a Boolean text; false when missing or unreadable.
  bool Enabled() const;
  void SetEnabled(bool enabled);  // writes "-1" or "0"
  const std::vector<std::wstring>& ValueList() const { return FValues; }

 private:
  int CountEntries(std::wstring_view prefix) const;

  std::vector<std::wstring> FValues;
  mutable std::vector<std::wstring> FRegItems;
  TTopicStatus FStatus = tsUncured;
};

// A Boolean text: a number is true when not zero, "true" and "false" in any
// letter case; anything else gives the default.
bool ReadBooleanText(std::wstring_view text, bool default_value);
// An integer text: decimal, optionally signed, within 32 bits; anything
// else gives the default.
std::int32_t ReadIntegerText(std::wstring_view text, std::int32_t default_value);

// A LOCATION_n value taken apart: the style (lsUnknow when the value has
// fewer than two comma-separated pieces or names no usable style) and the
// location text (the second piece). For registry styles also the root name
// (the text before the first backslash, the whole text without one) and the
// key path (the location with every occurrence of root name + "\" removed,
// letter case exact).
struct TopicLocation {
  TLocationStyle style = lsUnknow;
  std::wstring location;
  std::wstring root;
  std::wstring path;
};
TopicLocation ParseTopicLocation(std::wstring_view value);

}  // namespace brimlow::scan
