// Moving whole key trees between a registry and registry-editor files.

#include "regfile/RegFile.h"

namespace brimlow::regfile {
namespace {

using platform::RegRoot;
using platform::Result;

Result ApplyOne(platform::Registry& registry, const RegOp& op) {
  RegRoot root;
  std::wstring path;
  if (!SplitRootKey(op.key, &root, &path)) return Result::kFailed;
  Result result = Result::kFailed;
  switch (op.kind) {
    case RegOp::Kind::kCreateKey:
      return registry.CreateKey(root, path);
    case RegOp::Kind::kSetValue:
      return registry.SetValue(root, path, op.value);
    case RegOp::Kind::kDeleteKey:
      result = registry.DeleteKeyTree(root, path);
      break;
    case RegOp::Kind::kDeleteValue:
      result = registry.DeleteValue(root, path, op.value.name);
      break;
  }
  return result == Result::kNotFound ? Result::kOk : result;
}

}  // namespace

Result ExportKeyTree(platform::Registry& registry, RegRoot root, const std::wstring& path,
                     RegFileWriter* writer) {
  std::vector<platform::RegValue> values;
  Result result = registry.Values(root, path, &values);
  if (result != Result::kOk) return result;
  std::vector<std::wstring> names;
  result = registry.SubKeyNames(root, path, &names);
  if (result != Result::kOk) return result;

  writer->AddKey(FullKeyName(root, path));
  for (const auto& value : values) writer->AddValue(value);
  for (const auto& name : names) {
    result = ExportKeyTree(registry, root, path.empty() ? name : path + L'\\' + name, writer);
    // A subkey deleted since it was listed is simply no longer there.
    if (result == Result::kFailed) return result;
  }
  return Result::kOk;
}

Result ApplyRegOps(platform::Registry& registry, const std::vector<RegOp>& ops,
                   const RegOp** failed) {
  for (const auto& op : ops) {
    const Result result = ApplyOne(registry, op);
    if (result == Result::kOk) continue;
    if (failed) *failed = &op;
    return result;
  }
  return Result::kOk;
}

}  // namespace brimlow::regfile
