#include "scan/RegistryProbe.h"

#include <algorithm>

#include "base/Text.h"
#include "platform/Platform.h"

namespace brimlow::scan {
namespace {

using platform::RegRoot;
using platform::RegValue;
using platform::Result;

class Direct : public RegistryProbe {
 public:
  bool KeyExists(RegRoot root, const std::wstring& path) override {
    return platform::Reg().KeyExists(root, path) == Result::kOk;
  }
  Result QueryValue(RegRoot root, const std::wstring& path, const std::wstring& name, RegValue* value) override {
    return platform::Reg().QueryValue(root, path, name, value);
  }
  Result CountChildren(RegRoot root, const std::wstring& path, std::uint32_t* subkeys,
                       std::uint32_t* values) override {
    return platform::Reg().CountChildren(root, path, subkeys, values);
  }
  Result Values(RegRoot root, const std::wstring& path, std::vector<RegValue>* values) override {
    return platform::Reg().Values(root, path, values);
  }
};

// Only what the walk's own reads settle is answered from them: the walked
// key itself, named by the very text the walk used, and one level below it
// when it has no subkeys at all. Everything else (other spellings, deeper
// or odd paths, value names whose case folding could differ from the
// platform's) goes to the platform.
class Walk : public RegistryProbe {
 public:
  bool KeyExists(RegRoot root, const std::wstring& path) override {
    if (IsWalked(root, path)) return true;
    if (IsChildOfChildless(root, path)) return false;
    return direct_.KeyExists(root, path);
  }
  Result QueryValue(RegRoot root, const std::wstring& path, const std::wstring& name, RegValue* value) override {
    if (IsChildOfChildless(root, path)) return Result::kNotFound;
    if (!IsWalked(root, path) || !IsAscii(name)) return direct_.QueryValue(root, path, name, value);
    const auto found = std::find_if(values_->begin(), values_->end(),
                                    [&](const RegValue& v) { return SameText(v.name, name); });
    if (found == values_->end()) return Result::kNotFound;
    *value = *found;
    return Result::kOk;
  }
  Result CountChildren(RegRoot root, const std::wstring& path, std::uint32_t* subkeys,
                       std::uint32_t* values) override {
    if (!IsWalked(root, path)) return direct_.CountChildren(root, path, subkeys, values);
    *subkeys = subkeys_;
    *values = value_count_;
    return Result::kOk;
  }
  Result Values(RegRoot root, const std::wstring& path, std::vector<RegValue>* values) override {
    if (!IsWalked(root, path)) return direct_.Values(root, path, values);
    *values = *values_;
    return Result::kOk;
  }

  void NoteWalkedKey(RegRoot root, const std::wstring& path, const std::vector<RegValue>& values,
                     std::uint32_t subkeys, std::uint32_t value_count) override {
    root_ = root;
    path_ = &path;
    values_ = &values;
    subkeys_ = subkeys;
    value_count_ = value_count;
  }
  void ForgetWalkedKey() override {
    path_ = nullptr;
    values_ = nullptr;
  }

 private:
  static bool IsAscii(const std::wstring& text) {
    return std::all_of(text.begin(), text.end(), [](wchar_t c) { return c >= 0x20 && c < 0x7F; });
  }

  bool IsWalked(RegRoot root, const std::wstring& path) const {
    return path_ && root == root_ && path == *path_;
  }

  // "<walked>\Name" where the walked key has no subkeys: Name is one plain
  // component.
  bool IsChildOfChildless(RegRoot root, const std::wstring& path) const {
    if (!path_ || root != root_ || subkeys_ != 0 || path_->empty()) return false;
    const std::size_t n = path_->size();
    if (path.size() <= n + 1 || path[n] != L'\\' || path.compare(0, n, *path_) != 0) return false;
    return path.find(L'\\', n + 1) == std::wstring::npos;
  }

  Direct direct_;
  RegRoot root_ = RegRoot::kClassesRoot;
  const std::wstring* path_ = nullptr;  // null: nothing noted
  const std::vector<RegValue>* values_ = nullptr;
  std::uint32_t subkeys_ = 0;
  std::uint32_t value_count_ = 0;
};

}  // namespace

RegistryProbe& DirectRegistryProbe() {
  static Direct probe;
  return probe;
}

std::unique_ptr<RegistryProbe> MakeWalkRegistryProbe() { return std::make_unique<Walk>(); }

}  // namespace brimlow::scan
