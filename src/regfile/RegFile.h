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
// bytes wrapped at the editor's line width. A string value whose bytes are
// not one clean zero-terminated line of text is written as hex(1): so that
// reading the file back gives the very same bytes.
//
// All functions are plain computations; any thread may call them.

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

// Parses a whole file. On success fills *ops (emptied first) in file order:
// "[KEY]" gives kCreateKey, each value under it kSetValue, "[-KEY]"
// kDeleteKey, "name"=- kDeleteValue. On failure returns false, leaves *ops
// empty and describes the first malformed line in *error.
//
// Quoted strings become REG_SZ data: UTF-16LE bytes with the terminating
// zero. In a "REGEDIT4" file hex(2): and hex(7): data are ANSI bytes and are
// widened to UTF-16LE, as the editor does.
bool ParseRegFile(const Bytes& content, std::vector<RegOp>* ops, ParseError* error);

// Splits "HKEY_LOCAL_MACHINE\Software\X" into its root and path ("" for the
// root itself). Accepts the long root names (any letter case) and HKLM,
// HKCU, HKCR, HKU, HKCC. false for an unknown root.
bool SplitRootKey(const std::wstring& full_key, platform::RegRoot* root, std::wstring* path);
// The long name of a root ("HKEY_LOCAL_MACHINE").
std::wstring RootName(platform::RegRoot root);
// Root name and path joined: "HKEY_LOCAL_MACHINE\Software\X", or the root name
// alone for path "".
std::wstring FullKeyName(platform::RegRoot root, const std::wstring& path);

// One value line in the editor's lossless notation, without line end:
// "name"="text", "name"=dword:0000002a, "name"=hex(2):41,00,..., @=...
std::wstring FormatValueLine(const platform::RegValue& value);

class RegFileWriter {
 public:
  RegFileWriter();
  // Starts a section for a key (full name with root). An empty section is a
  // key without values.
  void AddKey(const std::wstring& full_key);
  // Adds a value to the current section (there must be one).
  void AddValue(const platform::RegValue& value);
  // Adds "[-KEY]" or, to the current section, "name"=- entries.
  void AddKeyDeletion(const std::wstring& full_key);
  void AddValueDeletion(const std::wstring& name);
  // The text so far (header included), and as file bytes (BOM + UTF-16LE).
  // It is always a complete file: each section is followed by a blank line
  // and lines end in CR LF.
  const std::wstring& Text() const { return text_; }
  // The sections alone, without the header: for appending to a file that
  // already has one.
  std::wstring SectionsText() const;
  Bytes FileBytes() const;

 private:
  void AddLine(const std::wstring& line);

  std::wstring text_;
  bool has_section_ = false;
};

// Writes the subtree under root\path (the key, its values, then each subkey
// depth first, in enumeration order) from a registry into the writer.
// kNotFound when the key does not exist.
platform::Result ExportKeyTree(platform::Registry& registry, platform::RegRoot root,
                               const std::wstring& path, RegFileWriter* writer);

// Applies parsed operations to a registry, in order. Deleting a key or value
// that is not there is no failure (the editor ignores it too). Stops at the
// first failure and returns it (kFailed also for an unknown root); *failed
// (optional) then points at the operation that failed.
platform::Result ApplyRegOps(platform::Registry& registry, const std::vector<RegOp>& ops,
                             const RegOp** failed = nullptr);

}  // namespace brimlow::regfile
