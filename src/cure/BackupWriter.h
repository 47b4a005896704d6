#pragma once
// A cure's registry backup, written ahead: the file exists with its header
// from the start, and every section is on the disk (appended and flushed)
// before the change it covers is made. If the program dies mid-cure, the
// backup still restores every change already made.
//
// The file is a registry-editor file in the cure's layout: one section per
// backed-up value in display-compatible form. Where that form loses
// something -- an expandable string, a value of another type, the rest of a
// key that is about to be deleted -- a lossless section follows it in the
// editor's own notation, so that merging the file brings back exactly what
// was there.

#include <string>

#include "cure/RegUtils.h"
#include "platform/Registry.h"

namespace brimlow::cure {

class BackupWriter {
 public:
  // Creates (or replaces) the file with the header. false, with the reason
  // in *error, when it cannot be written.
  bool Begin(const std::wstring& path, std::wstring* error);

  // Backs up one value (the default value for an empty name) before it is
  // deleted or overwritten. Nothing for a missing value.
  void AddValue(const std::wstring& root_name, const std::wstring& key, const std::wstring& name);

  // Backs up a value the cure is about to write. When there is no such
  // value yet, the backup deletes it again, so that restoring also takes
  // back a value the cure created.
  void AddValueBeforeWrite(const std::wstring& root_name, const std::wstring& key, const std::wstring& name);

  // Backs up the key's value `name` and then its whole subtree (every value
  // of every type, empty subkeys included) before the key is deleted.
  void AddKeyTree(const std::wstring& root_name, const std::wstring& key, const std::wstring& name);

  // false once an append failed; the cure stops changing things then.
  bool Healthy() const { return healthy_; }
  const std::wstring& Path() const { return path_; }
  // Everything written so far, as the exporter's file image.
  const Bytes& Image() const { return exporter_.Stream(); }

 private:
  // The value's section, and a lossless one where the cure's form loses
  // something; answers whether the value was there (kOk / kNotFound /
  // kFailed).
  platform::Result BackUpValue(const std::wstring& root_name, const std::wstring& key, const std::wstring& name);
  void AppendNewBytes(std::size_t from);
  void AppendText(const std::wstring& text);

  TRegExporter exporter_;
  std::wstring path_;
  bool healthy_ = false;
};

}  // namespace brimlow::cure
