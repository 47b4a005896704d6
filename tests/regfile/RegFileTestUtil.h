#pragma once
// Helpers shared by the registry-file tests: building file bytes in each
// encoding, and the registry state a sequence of operations leaves behind.

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "base/Text.h"
#include "regfile/RegFile.h"

namespace brimlow::regfile::testing {

inline Bytes Utf16File(std::wstring_view text) {
  Bytes bytes{0xFF, 0xFE};
  const Bytes body = ToUtf16LeBytes(text);
  bytes.insert(bytes.end(), body.begin(), body.end());
  return bytes;
}

inline Bytes Utf8File(std::wstring_view text, bool mark = false) {
  // Built in one piece: appending to a three-byte vector trips a false
  // -Wstringop-overread in GCC 12's optimised memmove.
  const std::string body = (mark ? std::string("\xEF\xBB\xBF") : std::string()) + ToUtf8(text);
  return Bytes(body.begin(), body.end());
}

inline Bytes AnsiFile(std::wstring_view text) {
  const std::string body = ToAnsi(text);
  return Bytes(body.begin(), body.end());
}

inline Bytes ReadCorpusFile(const std::string& name) {
  const char* root = std::getenv("BRIMLOW_TEST_DATA");
  const std::filesystem::path path =
      std::filesystem::path(root ? root : ".") / "corpus" / name;
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// What a registry holds after some operations: every key (upper-cased full
// name with the long root name) and its values by upper-cased name. Value
// order is left out: editors differ in how they enumerate values.
struct RegState {
  std::set<std::wstring> keys;
  std::map<std::wstring, std::map<std::wstring, platform::RegValue>> values;

  friend bool operator==(const RegState&, const RegState&) = default;
};

inline std::wstring StateKey(const std::wstring& full_key) {
  platform::RegRoot root;
  std::wstring path;
  if (!SplitRootKey(full_key, &root, &path)) return L"?" + full_key;
  return UpperCase(FullKeyName(root, path));
}

inline void CreateStateKey(RegState* state, const std::wstring& key) {
  for (auto slash = key.find(L'\\'); slash != std::wstring::npos;
       slash = key.find(L'\\', slash + 1)) {
    state->keys.insert(key.substr(0, slash));
  }
  state->keys.insert(key);
}

inline void ApplyToState(RegState* state, const std::vector<RegOp>& ops) {
  for (const auto& op : ops) {
    const std::wstring key = StateKey(op.key);
    switch (op.kind) {
      case RegOp::Kind::kCreateKey:
        CreateStateKey(state, key);
        break;
      case RegOp::Kind::kSetValue:
        CreateStateKey(state, key);
        state->values[key][UpperCase(op.value.name)] = op.value;
        break;
      case RegOp::Kind::kDeleteValue:
        if (state->values.count(key)) state->values[key].erase(UpperCase(op.value.name));
        break;
      case RegOp::Kind::kDeleteKey:
        std::erase_if(state->keys, [&](const std::wstring& k) {
          return k == key || k.rfind(key + L'\\', 0) == 0;
        });
        std::erase_if(state->values, [&](const auto& entry) {
          return entry.first == key || entry.first.rfind(key + L'\\', 0) == 0;
        });
        break;
    }
  }
  std::erase_if(state->values, [](const auto& entry) { return entry.second.empty(); });
}

// The part of a state at or below one key.
inline RegState StateBelow(const RegState& state, const std::wstring& full_key) {
  const std::wstring key = StateKey(full_key);
  auto inside = [&](const std::wstring& k) { return k == key || k.rfind(key + L'\\', 0) == 0; };
  RegState part;
  for (const auto& k : state.keys) {
    if (inside(k)) part.keys.insert(k);
  }
  for (const auto& [k, v] : state.values) {
    if (inside(k)) part.values[k] = v;
  }
  return part;
}

}  // namespace brimlow::regfile::testing
