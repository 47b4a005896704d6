// Stand-in platform only: the system image's registry and its file.

#include "platform/standin/ImageRegistry.h"

#include <fstream>
#include <iterator>
#include <system_error>

#include "platform/standin/RegistryTree.h"

namespace brimlow::platform::standin {
namespace {

namespace fs = std::filesystem;

std::wstring FileName(const fs::path& file) { return FromUtf8(file.filename().string()); }

// Writes the bytes beside the file and renames them over it, so that the
// file is at every moment either the old or the new registry.
bool WriteAtomically(const fs::path& file, const Bytes& bytes, std::wstring* error) {
  fs::path temp = file;
  temp += ".tmp";
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) {
      std::error_code ignored;
      fs::remove(temp, ignored);
      *error = FileName(file) + L": cannot be written";
      return false;
    }
  }
  std::error_code ec;
  fs::rename(temp, file, ec);
  if (!ec) return true;
  fs::remove(temp, ec);
  *error = FileName(file) + L": cannot be replaced";
  return false;
}

}  // namespace

ImageRegistry::ImageRegistry() : tree_(std::make_unique<RegistryTree>()) {}

ImageRegistry::~ImageRegistry() {
  std::lock_guard lock(mutex_);
  std::wstring ignored;
  if (unsaved_) SaveLocked(&ignored);
}

bool ImageRegistry::Load(const fs::path& file, std::wstring* error) {
  std::wstring ignored;
  if (!error) error = &ignored;
  auto tree = std::make_unique<RegistryTree>();
  std::error_code ec;
  if (fs::exists(file, ec)) {
    std::ifstream in(file, std::ios::binary);
    const Bytes content{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (!in.good() && !in.eof()) {
      *error = FileName(file) + L": cannot be read";
      return false;
    }
    std::vector<regfile::RegOp> ops;
    regfile::ParseError parse_error;
    if (!content.empty() && !regfile::ParseRegFile(content, &ops, &parse_error)) {
      *error = FileName(file) + L":" + std::to_wstring(parse_error.line) + L": " +
               parse_error.message;
      return false;
    }
    const regfile::RegOp* failed = nullptr;
    if (!Ok(regfile::ApplyRegOps(*tree, ops, &failed))) {
      *error = FileName(file) + L":" + std::to_wstring(failed->line) + L": cannot be stored";
      return false;
    }
    tree->Commit();
  }
  std::lock_guard lock(mutex_);
  tree_ = std::move(tree);
  file_ = file;
  unsaved_ = false;
  return true;
}

Result ImageRegistry::Apply(const std::vector<regfile::RegOp>& ops) {
  return Mutate([&](RegistryTree& tree) { return regfile::ApplyRegOps(tree, ops); });
}

// Runs one change on the tree; keeps it only if it succeeded and, outside
// a batch, the file could be written. Called with the lock not held.
template <typename Change>
Result ImageRegistry::Mutate(Change change) {
  std::lock_guard lock(mutex_);
  const Result result = change(*tree_);
  if (result != Result::kOk || !tree_->HasChanges()) {
    tree_->Rollback();
    return result;
  }
  if (!file_.empty() && batch_depth_ == 0) {
    std::wstring ignored;
    if (!SaveLocked(&ignored)) {
      tree_->Rollback();
      return Result::kFailed;
    }
  } else {
    if (!file_.empty()) unsaved_ = true;
  }
  tree_->Commit();
  return Result::kOk;
}

bool ImageRegistry::SaveLocked(std::wstring* error) {
  if (file_.empty()) return true;
  regfile::RegFileWriter writer;
  tree_->Export(&writer);
  if (!WriteAtomically(file_, writer.FileBytes(), error)) return false;
  unsaved_ = false;
  return true;
}

bool ImageRegistry::Flush(std::wstring* error) {
  std::lock_guard lock(mutex_);
  if (!unsaved_) return true;
  std::wstring ignored;
  return SaveLocked(error ? error : &ignored);
}

ImageRegistry::ScopedBatch::ScopedBatch(ImageRegistry& registry) : registry_(registry) {
  std::lock_guard lock(registry_.mutex_);
  ++registry_.batch_depth_;
}

ImageRegistry::ScopedBatch::~ScopedBatch() {
  std::lock_guard lock(registry_.mutex_);
  if (--registry_.batch_depth_ > 0 || !registry_.unsaved_) return;
  // A failed save leaves the changes marked unsaved for the next Flush.
  std::wstring ignored;
  registry_.SaveLocked(&ignored);
}

// Reading: straight from the tree under the lock.

Result ImageRegistry::KeyExists(RegRoot root, const std::wstring& path) {
  std::lock_guard lock(mutex_);
  return tree_->KeyExists(root, path);
}

Result ImageRegistry::SubKeyNames(RegRoot root, const std::wstring& path,
                                  std::vector<std::wstring>* names) {
  std::lock_guard lock(mutex_);
  return tree_->SubKeyNames(root, path, names);
}

Result ImageRegistry::Values(RegRoot root, const std::wstring& path,
                             std::vector<RegValue>* values) {
  std::lock_guard lock(mutex_);
  return tree_->Values(root, path, values);
}

Result ImageRegistry::QueryValue(RegRoot root, const std::wstring& path,
                                 const std::wstring& name, RegValue* value) {
  std::lock_guard lock(mutex_);
  return tree_->QueryValue(root, path, name, value);
}

Result ImageRegistry::CountChildren(RegRoot root, const std::wstring& path,
                                    std::uint32_t* subkeys, std::uint32_t* values) {
  std::lock_guard lock(mutex_);
  return tree_->CountChildren(root, path, subkeys, values);
}

// Changing: each call is one transaction.

Result ImageRegistry::CreateKey(RegRoot root, const std::wstring& path) {
  return Mutate([&](RegistryTree& tree) { return tree.CreateKey(root, path); });
}

Result ImageRegistry::SetValue(RegRoot root, const std::wstring& path, const RegValue& value) {
  return Mutate([&](RegistryTree& tree) { return tree.SetValue(root, path, value); });
}

Result ImageRegistry::DeleteValue(RegRoot root, const std::wstring& path,
                                  const std::wstring& name) {
  return Mutate([&](RegistryTree& tree) { return tree.DeleteValue(root, path, name); });
}

Result ImageRegistry::DeleteKeyTree(RegRoot root, const std::wstring& path) {
  return Mutate([&](RegistryTree& tree) { return tree.DeleteKeyTree(root, path); });
}

}  // namespace brimlow::platform::standin
