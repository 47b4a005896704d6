#pragma once
// Stand-in platform only: an in-memory registry that can take back its
// changes. Not thread-safe; ImageRegistry guards it with its lock.
//
// Every change is recorded until Commit() or Rollback(); Rollback() puts
// the tree back exactly as it was at the last Commit() (names, order and
// bytes included). Deleted subtrees are kept in the record, not copied.

#include <cstddef>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Registry.h"

namespace brimlow::regfile {
class RegFileWriter;
}

namespace brimlow::platform::standin {

class RegistryTree : public Registry {
 public:
  RegistryTree();
  ~RegistryTree() override;

  Result KeyExists(RegRoot root, const std::wstring& path) override;
  Result SubKeyNames(RegRoot root, const std::wstring& path,
                     std::vector<std::wstring>* names) override;
  Result Values(RegRoot root, const std::wstring& path, std::vector<RegValue>* values) override;
  Result QueryValue(RegRoot root, const std::wstring& path, const std::wstring& name,
                    RegValue* value) override;
  Result CountChildren(RegRoot root, const std::wstring& path, std::uint32_t* subkeys,
                       std::uint32_t* values) override;
  Result CreateKey(RegRoot root, const std::wstring& path) override;
  Result SetValue(RegRoot root, const std::wstring& path, const RegValue& value) override;
  Result DeleteValue(RegRoot root, const std::wstring& path, const std::wstring& name) override;
  Result DeleteKeyTree(RegRoot root, const std::wstring& path) override;

  // True when something changed since the last Commit() or Rollback().
  bool HasChanges() const { return !undo_.empty(); }
  void Commit();
  void Rollback();

  // Writes every key (roots only when they hold values), each followed by
  // its subkeys, in enumeration order.
  void Export(regfile::RegFileWriter* writer) const;

 private:
  struct Node;
  struct Undo;
  struct Location;

  Location Locate(RegRoot root, const std::wstring& path) const;
  Node* Find(const Location& where) const;
  Node* FindOrCreate(const Location& where);
  static void UpperKey(std::wstring_view name, std::wstring& key);
  static void ExportNode(const Node& node, const std::wstring& full_name, bool is_root,
                         regfile::RegFileWriter* writer);

  std::map<RegRoot, std::unique_ptr<Node>> roots_;
  std::vector<Undo> undo_;
  mutable std::wstring key_buffer_;  // Find's scratch key, kept to spare an allocation per lookup
};

}  // namespace brimlow::platform::standin
