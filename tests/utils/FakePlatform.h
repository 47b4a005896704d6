#pragma once
// Small in-memory fakes of the platform seam for the general helpers'
// tests: they record what the helpers ask for and answer exactly what a
// test sets up, on both builds.

#include <functional>
#include <map>
#include <tuple>
#include <vector>

#include "base/Text.h"
#include "platform/Platform.h"

namespace brimlow::testing {

class FakeRegistry : public platform::Registry {
 public:
  using Root = platform::RegRoot;
  using Result = platform::Result;

  void Put(Root root, const std::wstring& path, const platform::RegValue& value) {
    values_[Key(root, path, value.name)] = value;
  }
  bool Has(Root root, const std::wstring& path, const std::wstring& name) const {
    return values_.count(Key(root, path, name)) != 0;
  }
  // Every call fails from now on, as with a denied access.
  bool failing = false;

  Result KeyExists(Root, const std::wstring&) override { return Result::kFailed; }
  Result SubKeyNames(Root, const std::wstring&, std::vector<std::wstring>*) override {
    return Result::kFailed;
  }
  Result Values(Root, const std::wstring&, std::vector<platform::RegValue>*) override {
    return Result::kFailed;
  }
  Result QueryValue(Root root, const std::wstring& path, const std::wstring& name,
                    platform::RegValue* value) override {
    if (failing) return Result::kFailed;
    auto it = values_.find(Key(root, path, name));
    if (it == values_.end()) return Result::kNotFound;
    *value = it->second;
    return Result::kOk;
  }
  Result CountChildren(Root, const std::wstring&, std::uint32_t*, std::uint32_t*) override {
    return Result::kFailed;
  }
  Result CreateKey(Root, const std::wstring&) override { return Result::kFailed; }
  Result SetValue(Root root, const std::wstring& path, const platform::RegValue& value) override {
    if (failing) return Result::kFailed;
    Put(root, path, value);
    return Result::kOk;
  }
  Result DeleteValue(Root root, const std::wstring& path, const std::wstring& name) override {
    if (failing) return Result::kFailed;
    return values_.erase(Key(root, path, name)) ? Result::kOk : Result::kNotFound;
  }
  Result DeleteKeyTree(Root, const std::wstring&) override { return Result::kFailed; }

 private:
  using KeyT = std::tuple<Root, std::wstring, std::wstring>;
  static KeyT Key(Root root, const std::wstring& path, const std::wstring& name) {
    return {root, UpperCase(path), UpperCase(name)};
  }
  std::map<KeyT, platform::RegValue> values_;
};

class FakeFiles : public platform::FileSystem {
 public:
  using Result = platform::Result;

  // Stat answers from this function when set, else from the entries.
  std::function<Result(const std::wstring&)> stat_answer;
  std::map<std::wstring, platform::FileEntry> entries;  // by upper-cased path
  std::vector<platform::FileEntry> listing;              // what List returns
  std::wstring listed_mask;
  std::map<std::wstring, Bytes> written;
  int stat_calls = 0;

  void AddEntry(const std::wstring& path, const platform::FileEntry& entry) {
    entries[UpperCase(path)] = entry;
  }

  Result Stat(const std::wstring& path, platform::FileEntry* entry) override {
    ++stat_calls;
    if (stat_answer) return stat_answer(path);
    auto it = entries.find(UpperCase(path));
    if (it == entries.end()) return Result::kNotFound;
    *entry = it->second;
    return Result::kOk;
  }
  Result List(const std::wstring& mask, std::vector<platform::FileEntry>* out) override {
    listed_mask = mask;
    if (listing.empty()) return Result::kNotFound;
    out->insert(out->end(), listing.begin(), listing.end());
    return Result::kOk;
  }
  Result ReadFile(const std::wstring&, Bytes*) override { return Result::kFailed; }
  Result WriteFileAtomic(const std::wstring& path, const Bytes& content) override {
    written[path] = content;
    return Result::kOk;
  }
  Result AppendFile(const std::wstring&, const Bytes&) override { return Result::kFailed; }
  Result DeleteFile(const std::wstring&) override { return Result::kFailed; }
  Result RemoveFolder(const std::wstring&) override { return Result::kFailed; }
  Result CreateFolder(const std::wstring&) override { return Result::kFailed; }
  Result Rename(const std::wstring&, const std::wstring&) override { return Result::kFailed; }
  bool CheckAccess(std::uint32_t, const std::wstring&) override { return false; }
};

class FakeEnvironment : public platform::Environment {
 public:
  std::wstring app_file_name = L"C:\\PROGRA~1\\Brimlow\\brimlow.exe";
  std::map<std::wstring, std::wstring> long_paths;  // short form -> long form
  std::wstring windows_folder = L"C:\\Windows";
  std::wstring temp_folder = L"C:\\Temp\\";

  std::wstring Variable(const std::wstring&) override { return L""; }
  std::wstring Expand(const std::wstring& text) override { return text; }
  std::wstring AppFileName() override { return app_file_name; }
  std::wstring WindowsFolder() override { return windows_folder; }
  std::wstring TempFolder() override { return temp_folder; }
  std::wstring LongPath(const std::wstring& path) override {
    auto it = long_paths.find(path);
    return it == long_paths.end() ? L"" : it->second;
  }
  int WindowsMajorVersion() override { return 6; }
};

class FakeProcesses : public platform::Processes {
 public:
  struct ShellCall {
    std::wstring verb, file, parameters;
  };
  std::vector<platform::StartInfo> started;
  std::vector<ShellCall> shell_calls;
  bool start_succeeds = true;
  bool shell_succeeds = true;
  std::wstring shell_error = L"The operation was canceled by the user.";

  bool Start(const platform::StartInfo& info) override {
    started.push_back(info);
    return start_succeeds;
  }
  bool ShellExecute(const std::wstring& verb, const std::wstring& file,
                    const std::wstring& parameters, std::wstring* error) override {
    shell_calls.push_back({verb, file, parameters});
    if (!shell_succeeds) *error = shell_error;
    return shell_succeeds;
  }
  bool CreateInstanceMutex(const std::wstring&) override { return true; }
};

// All four fakes, installed for the life of the object.
struct FakePlatform {
  FakeRegistry registry;
  FakeFiles files;
  FakeEnvironment environment;
  FakeProcesses processes;
  platform::ScopedPlatform scope{Make()};

 private:
  platform::Platform Make() {
    platform::Platform p;
    p.registry = &registry;
    p.files = &files;
    p.environment = &environment;
    p.processes = &processes;
    return p;
  }
};

}  // namespace brimlow::testing
