#include "cure/BackupWriter.h"

#include "platform/Platform.h"
#include "regfile/RegFile.h"
#include "scan/RootKeys.h"

namespace brimlow::cure {
namespace {

namespace RegType = platform::RegType;

// Types the cure's own section carries without loss.
bool CarriedWithoutLoss(std::uint32_t type) {
  return type == RegType::kSz || type == RegType::kDword || type == RegType::kBinary;
}

}  // namespace

bool BackupWriter::Begin(const std::wstring& path, std::wstring* error) {
  path_ = path;
  healthy_ = exporter_.SaveToFile(path, error);
  return healthy_;
}

void BackupWriter::AppendNewBytes(std::size_t from) {
  const Bytes& image = exporter_.Stream();
  if (from >= image.size() || !healthy_) return;
  const Bytes tail(image.begin() + static_cast<std::ptrdiff_t>(from), image.end());
  healthy_ = platform::Files().AppendFile(path_, tail) == platform::Result::kOk;
}

// Text that is not the exporter's own goes into its image too, so that the
// image stays the file's exact copy.
void BackupWriter::AppendText(const std::wstring& text) {
  const std::size_t before = exporter_.Stream().size();
  exporter_.AppendRaw(text);
  AppendNewBytes(before);
}

void BackupWriter::AddValue(const std::wstring& root_name, const std::wstring& key, const std::wstring& name) {
  BackUpValue(root_name, key, name);
}

void BackupWriter::AddValueBeforeWrite(const std::wstring& root_name, const std::wstring& key,
                                       const std::wstring& name) {
  if (BackUpValue(root_name, key, name) != platform::Result::kNotFound) return;
  regfile::RegFileWriter writer;
  writer.AddKey(root_name + L"\\" + key);
  writer.AddValueDeletion(name);
  AppendText(writer.SectionsText());
}

platform::Result BackupWriter::BackUpValue(const std::wstring& root_name, const std::wstring& key,
                                           const std::wstring& name) {
  const std::size_t before = exporter_.Stream().size();
  exporter_.AddItem(root_name, key, name);
  AppendNewBytes(before);

  const auto root = scan::RootKeyFromName(root_name);
  if (!root) return platform::Result::kFailed;
  platform::RegValue value;
  const platform::Result found = platform::Reg().QueryValue(*root, key, name, &value);
  if (found != platform::Result::kOk || CarriedWithoutLoss(value.type)) return found;
  regfile::RegFileWriter writer;
  writer.AddKey(root_name + L"\\" + key);
  writer.AddValue(value);
  AppendText(writer.SectionsText());
  return found;
}

void BackupWriter::AddKeyTree(const std::wstring& root_name, const std::wstring& key, const std::wstring& name) {
  AddValue(root_name, key, name);
  const auto root = scan::RootKeyFromName(root_name);
  if (!root) return;
  regfile::RegFileWriter writer;
  if (regfile::ExportKeyTree(platform::Reg(), *root, key, &writer) != platform::Result::kOk) return;
  std::wstring sections = writer.SectionsText();
  // The subtree is written under the root name the finding gave, so the
  // merge puts it back where it was found.
  const std::wstring long_name = regfile::RootName(*root);
  if (long_name != root_name) {
    const std::wstring from = L"[" + long_name + L"\\";
    const std::wstring to = L"[" + root_name + L"\\";
    for (auto pos = sections.find(from); pos != std::wstring::npos; pos = sections.find(from, pos + to.size())) {
      sections.replace(pos, from.size(), to);
    }
  }
  AppendText(sections);
}

}  // namespace brimlow::cure
