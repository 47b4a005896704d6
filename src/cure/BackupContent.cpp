#include "cure/BackupContent.h"

#include <map>
#include <optional>
#include <tuple>
#include <set>
#include <utility>

#include "platform/Platform.h"
#include "regfile/RegFile.h"

namespace brimlow::cure {
namespace {

using regfile::RegOp;

// A key as the registry compares it: its root and its path folded to one
// case.
struct KeyId {
  platform::RegRoot root{};
  std::wstring folded;  // upper-cased path
  std::wstring path;    // as written

  bool operator<(const KeyId& other) const {
    return std::tie(root, folded) < std::tie(other.root, other.folded);
  }
};

bool ToKeyId(const std::wstring& full_key, KeyId* id) {
  if (!regfile::SplitRootKey(full_key, &id->root, &id->path)) return false;
  id->folded = UpperCase(id->path);
  return true;
}

bool Parse(const Bytes& content, std::vector<RegOp>* ops, regfile::ParseError* error) {
  return regfile::ParseRegFile(content, ops, error);
}

// The text of the file (a byte-order mark selects UTF-16LE) cut into lines
// at line ends; a final line end opens no further line.
int CountTextLines(const Bytes& content) {
  std::wstring text;
  if (content.size() >= 2 && content[0] == 0xFF && content[1] == 0xFE) {
    text = FromUtf16LeBytes(content.data() + 2, content.size() - 2);
  } else {
    text = FromAnsi(std::string(content.begin(), content.end()));
  }
  if (text.empty()) return 0;
  int lines = 0;
  for (std::size_t pos = 0; pos < text.size();) {
    const std::size_t end = text.find(L"\r\n", pos);
    ++lines;
    if (end == std::wstring::npos) break;
    pos = end + 2;
  }
  return lines;
}

// Whether `inner` lies below `outer`.
bool IsBelow(const KeyId& inner, const KeyId& outer) {
  if (inner.root != outer.root) return false;
  if (outer.folded.empty()) return !inner.folded.empty();
  return inner.folded.size() > outer.folded.size() &&
         inner.folded.compare(0, outer.folded.size(), outer.folded) == 0 &&
         inner.folded[outer.folded.size()] == L'\\';
}

bool SameOrBelow(const KeyId& inner, const KeyId& outer) {
  return (inner.root == outer.root && inner.folded == outer.folded) || IsBelow(inner, outer);
}

// Strings compare by their text: one writer stores the terminating zero,
// another may not.
Bytes Comparable(const platform::RegValue& value) {
  Bytes data = value.data;
  if (value.type != platform::RegType::kSz && value.type != platform::RegType::kExpandSz) return data;
  while (data.size() >= 2 && data[data.size() - 1] == 0 && data[data.size() - 2] == 0) data.resize(data.size() - 2);
  return data;
}

std::wstring ValuePath(const KeyId& key, const std::wstring& name) {
  return regfile::FullKeyName(key.root, key.path) + L"\\" + name;
}

}  // namespace

int CountBackupChanges(const Bytes& content) {
  std::vector<RegOp> ops;
  regfile::ParseError error;
  if (!Parse(content, &ops, &error)) {
    const int lines = CountTextLines(content);
    return lines > 2 ? (lines - 2) / 3 : 0;
  }
  std::set<std::pair<KeyId, std::wstring>> values;
  std::set<KeyId> keys;
  std::set<KeyId> keys_with_values;
  for (const RegOp& op : ops) {
    KeyId key;
    if (!ToKeyId(op.key, &key)) continue;
    if (op.kind == RegOp::Kind::kCreateKey) keys.insert(key);
    // Taking back a value the cure created is a change like any other.
    if (op.kind != RegOp::Kind::kSetValue && op.kind != RegOp::Kind::kDeleteValue) continue;
    values.insert({key, UpperCase(op.value.name)});
    keys_with_values.insert(key);
  }
  int count = static_cast<int>(values.size());
  for (const KeyId& key : keys) {
    if (keys_with_values.count(key)) continue;
    bool has_subkey = false;
    for (const KeyId& other : keys) has_subkey = has_subkey || IsBelow(other, key);
    if (!has_subkey) ++count;
  }
  return count;
}

std::wstring BackupChangeCount(const std::wstring& path) {
  Bytes content;
  if (platform::Files().ReadFile(path, &content) != platform::Result::kOk) return L"0";
  return std::to_wstring(CountBackupChanges(content));
}

bool BackupIsInRegistry(const Bytes& content, std::vector<std::wstring>* missing) {
  std::vector<RegOp> ops;
  regfile::ParseError error;
  if (!Parse(content, &ops, &error)) {
    missing->push_back(L"line " + std::to_wstring(error.line) + L": " + error.message);
    return false;
  }
  // What the merge leaves: later entries override earlier ones.
  std::map<KeyId, bool> keys;  // key -> still there after the merge
  // value -> what it holds after the merge (name as written); no data: it
  // is deleted.
  std::map<std::pair<KeyId, std::wstring>, std::pair<std::wstring, std::optional<platform::RegValue>>> values;
  for (const RegOp& op : ops) {
    KeyId key;
    if (!ToKeyId(op.key, &key)) continue;
    const auto value_id = std::make_pair(key, UpperCase(op.value.name));
    switch (op.kind) {
      case RegOp::Kind::kCreateKey: keys[key] = true; break;
      case RegOp::Kind::kSetValue: values[value_id] = {op.value.name, op.value}; break;
      case RegOp::Kind::kDeleteValue: values[value_id] = {op.value.name, std::nullopt}; break;
      case RegOp::Kind::kDeleteKey:
        for (auto& [other, present] : keys) {
          if (SameOrBelow(other, key)) present = false;
        }
        std::erase_if(values, [&](const auto& entry) { return SameOrBelow(entry.first.first, key); });
        break;
    }
  }
  for (const auto& [key, present] : keys) {
    if (present && platform::Reg().KeyExists(key.root, key.path) != platform::Result::kOk) {
      missing->push_back(regfile::FullKeyName(key.root, key.path) + L"\\");
    }
  }
  for (const auto& [id, merged] : values) {
    const auto& [name, wanted] = merged;
    platform::RegValue live;
    const platform::Result found = platform::Reg().QueryValue(id.first.root, id.first.path, name, &live);
    const bool as_merged = wanted ? found == platform::Result::kOk && live.type == wanted->type &&
                                        Comparable(live) == Comparable(*wanted)
                                  : found == platform::Result::kNotFound;
    if (!as_merged) missing->push_back(ValuePath(id.first, name));
  }
  return true;
}

}  // namespace brimlow::cure
