// Win32 platform only.
#include "platform/win32/Win32Registry.h"

#include <windows.h>

#include "platform/win32/Win32Error.h"

namespace brimlow::platform::win32 {
namespace {

// An open key, closed when it goes out of scope.
class Key {
 public:
  Key() = default;
  ~Key() {
    if (handle_) RegCloseKey(handle_);
  }
  Key(const Key&) = delete;
  Key& operator=(const Key&) = delete;

  // Opens an existing key; the platform's status.
  LSTATUS Open(RegRoot root, const std::wstring& path, REGSAM access) {
    return RegOpenKeyExW(RootKey(static_cast<std::uint32_t>(root)), path.c_str(), 0, access,
                         &handle_);
  }
  // Opens the key, creating it and its missing parents.
  LSTATUS Create(RegRoot root, const std::wstring& path, REGSAM access) {
    return RegCreateKeyExW(RootKey(static_cast<std::uint32_t>(root)), path.c_str(), 0, nullptr,
                           REG_OPTION_NON_VOLATILE, access, nullptr, &handle_, nullptr);
  }
  HKEY get() const { return handle_; }

 private:
  HKEY handle_ = nullptr;
};

// Longest key name the registry allows, plus its terminating zero.
constexpr DWORD kMaxKeyName = 256;
// Longest value name the registry allows, plus its terminating zero.
constexpr DWORD kMaxValueName = 16384;

// Reads one value's type and bytes, growing the buffer while the platform
// says it is too small (a value may grow between two calls).
LSTATUS ReadValueData(HKEY key, const std::wstring& name, RegValue* value) {
  DWORD size = 256;
  while (true) {
    value->data.resize(size);
    DWORD type = 0;
    DWORD got = size;
    const LSTATUS status =
        RegQueryValueExW(key, name.c_str(), nullptr, &type, value->data.data(), &got);
    if (status == ERROR_MORE_DATA) {
      size = got > size ? got : size * 2;
      continue;
    }
    if (status != ERROR_SUCCESS) return status;
    value->type = type;
    value->data.resize(got);
    return ERROR_SUCCESS;
  }
}

// One value of an enumeration by index; ERROR_NO_MORE_ITEMS past the end.
LSTATUS EnumValue(HKEY key, DWORD index, std::vector<wchar_t>* name_buffer, RegValue* value) {
  DWORD size = 256;
  while (true) {
    value->data.resize(size);
    DWORD name_length = static_cast<DWORD>(name_buffer->size());
    DWORD type = 0;
    DWORD got = size;
    const LSTATUS status = RegEnumValueW(key, index, name_buffer->data(), &name_length, nullptr,
                                         &type, value->data.data(), &got);
    if (status == ERROR_MORE_DATA) {
      // Either the name or the data did not fit; names never exceed the
      // registry's limit, so it is the data.
      size = got > size ? got : size * 2;
      continue;
    }
    if (status != ERROR_SUCCESS) return status;
    value->name.assign(name_buffer->data(), name_length);
    value->type = type;
    value->data.resize(got);
    return ERROR_SUCCESS;
  }
}

Result DeleteTree(RegRoot root, const std::wstring& path) {
  std::vector<std::wstring> children;
  Win32Registry registry;
  const Result listed = registry.SubKeyNames(root, path, &children);
  if (listed != Result::kOk) return listed;
  for (const auto& child : children) {
    const Result deleted = DeleteTree(root, path + L"\\" + child);
    if (deleted == Result::kFailed) return deleted;
  }
  return ResultFromError(RegDeleteKeyW(RootKey(static_cast<std::uint32_t>(root)), path.c_str()));
}

}  // namespace

Result Win32Registry::KeyExists(RegRoot root, const std::wstring& path) {
  Key key;
  return ResultFromError(key.Open(root, path, KEY_READ));
}

Result Win32Registry::SubKeyNames(RegRoot root, const std::wstring& path,
                                  std::vector<std::wstring>* names) {
  names->clear();
  Key key;
  const LSTATUS opened = key.Open(root, path, KEY_ENUMERATE_SUB_KEYS | KEY_QUERY_VALUE);
  if (opened != ERROR_SUCCESS) return ResultFromError(opened);
  wchar_t name[kMaxKeyName];
  for (DWORD index = 0;; ++index) {
    DWORD length = kMaxKeyName;
    const LSTATUS status =
        RegEnumKeyExW(key.get(), index, name, &length, nullptr, nullptr, nullptr, nullptr);
    if (status == ERROR_NO_MORE_ITEMS) return Result::kOk;
    if (status != ERROR_SUCCESS) return Result::kFailed;
    names->emplace_back(name, length);
  }
}

Result Win32Registry::Values(RegRoot root, const std::wstring& path,
                             std::vector<RegValue>* values) {
  values->clear();
  Key key;
  const LSTATUS opened = key.Open(root, path, KEY_QUERY_VALUE);
  if (opened != ERROR_SUCCESS) return ResultFromError(opened);
  std::vector<wchar_t> name_buffer(kMaxValueName);
  for (DWORD index = 0;; ++index) {
    RegValue value;
    const LSTATUS status = EnumValue(key.get(), index, &name_buffer, &value);
    if (status == ERROR_NO_MORE_ITEMS) return Result::kOk;
    if (status != ERROR_SUCCESS) return Result::kFailed;
    values->push_back(std::move(value));
  }
}

Result Win32Registry::QueryValue(RegRoot root, const std::wstring& path,
                                 const std::wstring& name, RegValue* value) {
  Key key;
  const LSTATUS opened = key.Open(root, path, KEY_QUERY_VALUE);
  if (opened != ERROR_SUCCESS) return ResultFromError(opened);
  RegValue read;
  read.name = name;
  const LSTATUS status = ReadValueData(key.get(), name, &read);
  if (status != ERROR_SUCCESS) return ResultFromError(status);
  *value = std::move(read);
  return Result::kOk;
}

Result Win32Registry::CountChildren(RegRoot root, const std::wstring& path,
                                    std::uint32_t* subkeys, std::uint32_t* values) {
  Key key;
  const LSTATUS opened = key.Open(root, path, KEY_QUERY_VALUE);
  if (opened != ERROR_SUCCESS) return ResultFromError(opened);
  DWORD key_count = 0;
  DWORD value_count = 0;
  const LSTATUS status =
      RegQueryInfoKeyW(key.get(), nullptr, nullptr, nullptr, &key_count, nullptr, nullptr,
                       &value_count, nullptr, nullptr, nullptr, nullptr);
  if (status != ERROR_SUCCESS) return Result::kFailed;
  if (subkeys) *subkeys = key_count;
  if (values) *values = value_count;
  return Result::kOk;
}

Result Win32Registry::CreateKey(RegRoot root, const std::wstring& path) {
  Key key;
  return key.Create(root, path, KEY_READ) == ERROR_SUCCESS ? Result::kOk : Result::kFailed;
}

Result Win32Registry::SetValue(RegRoot root, const std::wstring& path, const RegValue& value) {
  Key key;
  if (key.Create(root, path, KEY_SET_VALUE) != ERROR_SUCCESS) return Result::kFailed;
  // For string types the platform looks at the two bytes after the data and,
  // when they are zero, stores them too (taking them for a forgotten
  // terminator). The data gets two non-zero bytes behind it, so exactly its
  // own bytes are stored and nothing past it is read.
  Bytes guarded = value.data;
  guarded.push_back(0xFF);
  guarded.push_back(0xFF);
  const LSTATUS status = RegSetValueExW(key.get(), value.name.c_str(), 0, value.type,
                                        guarded.data(), static_cast<DWORD>(value.data.size()));
  return status == ERROR_SUCCESS ? Result::kOk : Result::kFailed;
}

Result Win32Registry::DeleteValue(RegRoot root, const std::wstring& path,
                                  const std::wstring& name) {
  Key key;
  const LSTATUS opened = key.Open(root, path, KEY_SET_VALUE);
  if (opened != ERROR_SUCCESS) return ResultFromError(opened);
  return ResultFromError(RegDeleteValueW(key.get(), name.c_str()));
}

Result Win32Registry::DeleteKeyTree(RegRoot root, const std::wstring& path) {
  // Deleting a whole root is never meant.
  if (path.empty()) return Result::kFailed;
  return DeleteTree(root, path);
}

}  // namespace brimlow::platform::win32
