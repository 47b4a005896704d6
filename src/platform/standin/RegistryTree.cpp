// Stand-in platform only: the in-memory registry behind ImageRegistry.

#include "platform/standin/RegistryTree.h"

#include <cassert>

#include "regfile/RegFile.h"

namespace brimlow::platform::standin {

struct RegistryTree::Node {
  std::wstring name;  // as created
  std::map<std::wstring, std::unique_ptr<Node>> children;  // by upper-cased name
  std::vector<RegValue> values;                            // in creation order

  std::ptrdiff_t FindValue(const std::wstring& value_name) const {
    for (std::size_t i = 0; i < values.size(); ++i) {
      if (SameText(values[i].name, value_name)) return static_cast<std::ptrdiff_t>(i);
    }
    return -1;
  }
};

struct RegistryTree::Undo {
  enum class Kind { kRemoveChild, kRestoreChild, kRestoreValue, kRemoveLastValue, kInsertValue };
  Kind kind;
  Node* node;
  std::wstring key;                // kRemoveChild, kRestoreChild
  std::unique_ptr<Node> subtree;   // kRestoreChild
  std::size_t index = 0;           // kRestoreValue, kInsertValue
  RegValue value;                  // kRestoreValue, kInsertValue
};

// Where a root and path lead: the root's node and the key names below it
// (views into the caller's path, or literals, valid while the call runs).
struct RegistryTree::Location {
  Node* root = nullptr;  // nullptr: a root this registry does not hold
  std::vector<std::wstring_view> names;
  bool valid = true;       // false: a malformed path
  bool predefined = true;  // the path names the predefined key itself
};

namespace {

constexpr RegRoot kStoredRoots[] = {RegRoot::kLocalMachine, RegRoot::kCurrentUser,
                                    RegRoot::kUsers, RegRoot::kCurrentConfig,
                                    RegRoot::kDynData};

// Names that a .reg file can carry: no line breaks (and for keys, no
// backslash, within the platform's length limit).
bool StorableName(const std::wstring& name) {
  return name.find_first_of(L"\r\n") == std::wstring::npos;
}

}  // namespace

RegistryTree::RegistryTree() {
  for (const RegRoot root : kStoredRoots) roots_[root] = std::make_unique<Node>();
}

RegistryTree::~RegistryTree() = default;

RegistryTree::Location RegistryTree::Locate(RegRoot root, const std::wstring& path) const {
  Location where;
  where.predefined = path.empty();
  if (root == RegRoot::kClassesRoot) {
    root = RegRoot::kLocalMachine;
    where.names = {L"Software", L"Classes"};
  }
  const auto found = roots_.find(root);
  if (found == roots_.end()) {
    where.valid = false;
    return where;
  }
  where.root = found->second.get();
  if (path.empty()) return where;
  // One pass over the path: every lookup of a scan comes through here, so
  // no name is copied.
  std::wstring_view rest = path;
  if (rest.back() == L'\\') rest.remove_suffix(1);
  where.names.reserve(where.names.size() + 8);
  std::size_t begin = 0;
  for (std::size_t i = 0; i <= rest.size(); ++i) {
    if (i < rest.size() && rest[i] != L'\\') {
      if (rest[i] == L'\r' || rest[i] == L'\n') where.valid = false;  // not storable
      continue;
    }
    const std::wstring_view name = rest.substr(begin, i - begin);
    if (name.empty() || name.size() > 255) where.valid = false;
    where.names.push_back(name);
    begin = i + 1;
  }
  return where;
}

// Upper-cases name into key, reusing key's storage.
void RegistryTree::UpperKey(std::wstring_view name, std::wstring& key) {
  key.resize(name.size());
  for (std::size_t i = 0; i < name.size(); ++i) key[i] = UpperChar(name[i]);
}

RegistryTree::Node* RegistryTree::Find(const Location& where) const {
  if (!where.valid) return nullptr;
  Node* node = where.root;
  for (const auto name : where.names) {
    UpperKey(name, key_buffer_);
    const auto child = node->children.find(key_buffer_);
    if (child == node->children.end()) return nullptr;
    node = child->second.get();
  }
  return node;
}

RegistryTree::Node* RegistryTree::FindOrCreate(const Location& where) {
  if (!where.valid) return nullptr;
  Node* node = where.root;
  for (const auto name : where.names) {
    std::wstring key = UpperCase(name);
    auto& child = node->children[key];
    if (!child) {
      child = std::make_unique<Node>();
      child->name = std::wstring(name);
      undo_.push_back(Undo{Undo::Kind::kRemoveChild, node, std::move(key), nullptr, 0, {}});
    }
    node = child.get();
  }
  return node;
}

// Reading. The predefined keys always exist, even HKEY_CLASSES_ROOT when
// its backing key has not been created yet; a root this registry does not
// hold is a failure, not a missing key.

namespace {

template <typename Location>
Result Missing(const Location& where) {
  if (!where.root) return Result::kFailed;
  return where.valid && where.predefined ? Result::kOk : Result::kNotFound;
}

}  // namespace

Result RegistryTree::KeyExists(RegRoot root, const std::wstring& path) {
  const Location where = Locate(root, path);
  if (!where.root) return Result::kFailed;
  return Find(where) || (where.valid && where.predefined) ? Result::kOk : Result::kNotFound;
}

Result RegistryTree::SubKeyNames(RegRoot root, const std::wstring& path,
                                 std::vector<std::wstring>* names) {
  names->clear();
  const Location where = Locate(root, path);
  const Node* node = Find(where);
  if (!node) return Missing(where);
  for (const auto& [key, child] : node->children) names->push_back(child->name);
  return Result::kOk;
}

Result RegistryTree::Values(RegRoot root, const std::wstring& path,
                            std::vector<RegValue>* values) {
  values->clear();
  const Location where = Locate(root, path);
  const Node* node = Find(where);
  if (!node) return Missing(where);
  *values = node->values;
  return Result::kOk;
}

Result RegistryTree::QueryValue(RegRoot root, const std::wstring& path, const std::wstring& name,
                                RegValue* value) {
  const Location where = Locate(root, path);
  const Node* node = Find(where);
  if (!node) return where.root ? Result::kNotFound : Result::kFailed;
  const auto index = node->FindValue(name);
  if (index < 0) return Result::kNotFound;
  *value = node->values[static_cast<std::size_t>(index)];
  return Result::kOk;
}

Result RegistryTree::CountChildren(RegRoot root, const std::wstring& path,
                                   std::uint32_t* subkeys, std::uint32_t* values) {
  *subkeys = 0;
  *values = 0;
  const Location where = Locate(root, path);
  const Node* node = Find(where);
  if (!node) return Missing(where);
  *subkeys = static_cast<std::uint32_t>(node->children.size());
  *values = static_cast<std::uint32_t>(node->values.size());
  return Result::kOk;
}

// Changing. Each change leaves an undo record.

Result RegistryTree::CreateKey(RegRoot root, const std::wstring& path) {
  const Location where = Locate(root, path);
  if (where.valid && where.predefined) return Result::kOk;
  return FindOrCreate(where) ? Result::kOk : Result::kFailed;
}

Result RegistryTree::SetValue(RegRoot root, const std::wstring& path, const RegValue& value) {
  if (!StorableName(value.name)) return Result::kFailed;
  Node* node = FindOrCreate(Locate(root, path));
  if (!node) return Result::kFailed;
  const auto index = node->FindValue(value.name);
  if (index < 0) {
    node->values.push_back(value);
    undo_.push_back(Undo{Undo::Kind::kRemoveLastValue, node, {}, nullptr, 0, {}});
    return Result::kOk;
  }
  // An existing value keeps its name and its place.
  RegValue& stored = node->values[static_cast<std::size_t>(index)];
  undo_.push_back(
      Undo{Undo::Kind::kRestoreValue, node, {}, nullptr, static_cast<std::size_t>(index), stored});
  stored.type = value.type;
  stored.data = value.data;
  return Result::kOk;
}

Result RegistryTree::DeleteValue(RegRoot root, const std::wstring& path,
                                 const std::wstring& name) {
  const Location where = Locate(root, path);
  Node* node = Find(where);
  if (!node) return where.root ? Result::kNotFound : Result::kFailed;
  const auto index = node->FindValue(name);
  if (index < 0) return Result::kNotFound;
  const auto at = node->values.begin() + index;
  undo_.push_back(Undo{Undo::Kind::kInsertValue, node, {}, nullptr,
                       static_cast<std::size_t>(index), std::move(*at)});
  node->values.erase(at);
  return Result::kOk;
}

Result RegistryTree::DeleteKeyTree(RegRoot root, const std::wstring& path) {
  Location where = Locate(root, path);
  if (!where.valid || where.predefined) return Result::kFailed;
  const std::wstring key = UpperCase(where.names.back());
  where.names.pop_back();
  Node* parent = Find(where);
  if (!parent) return Result::kNotFound;
  const auto child = parent->children.find(key);
  if (child == parent->children.end()) return Result::kNotFound;
  undo_.push_back(Undo{Undo::Kind::kRestoreChild, parent, key, std::move(child->second), 0, {}});
  parent->children.erase(child);
  return Result::kOk;
}

void RegistryTree::Commit() { undo_.clear(); }

void RegistryTree::Rollback() {
  for (auto undo = undo_.rbegin(); undo != undo_.rend(); ++undo) {
    auto& values = undo->node->values;
    switch (undo->kind) {
      case Undo::Kind::kRemoveChild:
        undo->node->children.erase(undo->key);
        break;
      case Undo::Kind::kRestoreChild:
        undo->node->children[undo->key] = std::move(undo->subtree);
        break;
      case Undo::Kind::kRestoreValue:
        values[undo->index] = std::move(undo->value);
        break;
      case Undo::Kind::kRemoveLastValue:
        values.pop_back();
        break;
      case Undo::Kind::kInsertValue:
        values.insert(values.begin() + static_cast<std::ptrdiff_t>(undo->index),
                      std::move(undo->value));
        break;
    }
  }
  undo_.clear();
}

void RegistryTree::Export(regfile::RegFileWriter* writer) const {
  for (const RegRoot root : kStoredRoots) {
    ExportNode(*roots_.at(root), regfile::RootName(root), true, writer);
  }
}

void RegistryTree::ExportNode(const Node& node, const std::wstring& full_name, bool is_root,
                              regfile::RegFileWriter* writer) {
  if (!is_root || !node.values.empty()) {
    writer->AddKey(full_name);
    for (const auto& value : node.values) writer->AddValue(value);
  }
  for (const auto& [key, child] : node.children) {
    ExportNode(*child, full_name + L'\\' + child->name, false, writer);
  }
}

}  // namespace brimlow::platform::standin
