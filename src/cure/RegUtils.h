#pragma once
// Registry-editor files as the cure writes them: the backup of what it
// deletes and the file of values it sets, one value per section; the
// display form of a live value that the rules compare; and the silent merge
// of such a file.

#include <string>

#include "base/Text.h"

namespace brimlow::cure {

// Collects sections in memory and writes them as a ".reg" file: UTF-16LE
// with byte-order mark, the header "Windows Registry Editor Version 5.00"
// and an empty line, then per section the key line, exactly one value line
// and an empty line. Never deletion entries, never continuation lines.
// Main thread or the cure worker, one at a time.
class TRegExporter {
 public:
  TRegExporter();

  // Appends a section whose value line is given in the topic notation:
  // every backslash is doubled and "=DWORD:" becomes "=dword:"; a backslash
  // that escapes a double quote inside the line is kept single. An empty
  // line adds nothing.
  void AddRegItem(const std::wstring& aRoot, const std::wstring& aKey,
                  const std::wstring& aSectionValue);

  // Appends a backup of the live value aSection ("" = default value) of
  // aRoot\aKey, escaped once so that the registry editor reads back the same
  // name and text. Adds nothing when the key cannot be opened, the value is
  // missing or its type is not a string, a 32-bit number or binary.
  void AddItem(const std::wstring& aRoot, const std::wstring& aKey,
               const std::wstring& aSection);

  // Writes everything added so far (header included), creating or replacing
  // the file. false with a reason in *error (optional) when it cannot.
  bool SaveToFile(const std::wstring& aFileName, std::wstring* error = nullptr) const;

  // Appends text as it is (UTF-16LE), for sections in the registry
  // editor's lossless notation that the cure adds to its backup.
  void AppendRaw(const std::wstring& text);

  // The complete file image.
  const Bytes& Stream() const { return FStream; }

 private:
  void AppendSection(const std::wstring& root, const std::wstring& key,
                     const std::wstring& value_line);

  Bytes FStream;
};

// A live value in display form.
struct RegValueLine {
  std::wstring line;       // nameText "=" valueText, or empty
  std::wstring valueText;  // quoted string, "dword:..." or "hex:..."; "Not Found!"
  std::wstring nameText;   // "@" or the quoted name
};

// Reads the value valueName ("" = default value) of root\key and renders
// it: strings quoted with every double quote escaped and backslashes left
// single; a name with every backslash doubled. A missing value gives
// valueText "Not Found!", the name quoted unescaped and no line; a value of
// an unsupported type gives three empty texts; a key that cannot be opened
// (or an unknown root) gives the line name="" . Never fails.
RegValueLine FormatRegValueLine(const std::wstring& root, const std::wstring& key,
                                const std::wstring& valueName);

// Merges the file silently through the registry editor (3000 ms limit).
// false without starting anything when the file does not exist; otherwise
// true when the merge was started (Windows) or done (stand-in).
bool ImportRegFile(const std::wstring& path);

}  // namespace brimlow::cure
