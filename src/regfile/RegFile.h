#pragma once
// Registry-editor files (".reg"), read and written without loss.
//
// The reader accepts what the registry editor accepts: the header
// "Windows Registry Editor Version 5.00" (UTF-16LE with byte-order mark, or
// UTF-8/ANSI without) and "REGEDIT4" (ANSI), sections "[KEY]" and deletions
// "[-KEY]", values "name"=... and "@"=..., deletions "name"=-, escapes \\ and
// \" in quoted text, dword:, hex:, hex(N): data split over lines ending in a
// backslash, comments (";" lines) and blank lines.
//
// The writer produces the editor's own export layout: UTF-16LE with
// byte-order mark, the 5.00 header, one section per key with its values,
// strings as "text", 32-bit numbers as dword:, everything else as hex(N):
// bytes wrapped at the editor's line width.

#include <string>
#include <vector>

#include "base/Text.h"
#include "platform/Registry.h"

namespace brimlow::regfile {

struct RegOp {
  enum class Kind { kCreateKey, kDeleteKey, kSetValue, kDeleteValue };
  Kind kind = Kind::kCreateKey;
  std::wstring key;  // full key with its root name, "HKEY_CURRENT_USER\Software\X"
  platform::RegValue value;  // kSetValue: name, type and data; kDeleteValue: name
  int line = 0;              // 1-based line of the file where it was written
};

struct ParseError {
  int line = 0;
  std::wstring message;
};

// Parses a whole file. On success fills *ops (emptied first) in file order;
// on failure returns false, leaves *ops empty and describes the first
// malformed line in *error.
bool ParseRegFile(const Bytes& content, std::vector<RegOp>* ops, ParseError* error);

// Splits "HKEY_LOCAL_MACHINE\Software\X" into its root and path. Accepts the
// long root names and HKLM, HKCU, HKCR, HKU, HKCC. false for an unknown root.
bool SplitRootKey(const std::wstring& full_key, platform::RegRoot* root, std::wstring* path);
// The long name of a root ("HKEY_LOCAL_MACHINE").
std::wstring RootName(platform::RegRoot root);

// One value line in the editor's lossless notation, without line end:
// "name"="text", "name"=dword:0000002a, "name"=hex(2):41,00,..., @=...
std::wstring FormatValueLine(const platform::RegValue& value);

class RegFileWriter {
 public:
  RegFileWriter();
  // Starts a section for a key (full name with root). An empty section is a
  // key without values.
  void AddKey(const std::wstring& full_key);
  // Adds a value to the current section.
  void AddValue(const platform::RegValue& value);
  // Adds "[-KEY]" or "name"=- entries.
  void AddKeyDeletion(const std::wstring& full_key);
  void AddValueDeletion(const std::wstring& name);
  // The text so far (header included), and as file bytes (BOM + UTF-16LE).
  const std::wstring& Text() const { return text_; }
  Bytes FileBytes() const;

 private:
  std::wstring text_;
};

// Writes the subtree under root\path (the key, its values, then each subkey
// depth first, in enumeration order) from a registry into the writer.
// kNotFound when the key does not exist.
platform::Result ExportKeyTree(platform::Registry& registry, platform::RegRoot root,
                               const std::wstring& path, RegFileWriter* writer);

// Applies parsed operations to a registry, in order. Stops at the first
// failure and returns it.
platform::Result ApplyRegOps(platform::Registry& registry, const std::vector<RegOp>& ops);

}  // namespace brimlow::regfile
