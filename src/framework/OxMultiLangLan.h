#pragma once
// One language text: the lines of a language file (".lan") and a parsed INI
// view of them, kept in step lazily. Queries re-parse the lines when they
// were replaced; changes through SetProp/ClearForm regenerate the lines at
// once.
//
// Values may hold "<BR>" (a line break) and "<SP>" (a blank that trimming
// would remove), recognised without regard to case when read; storing a
// value turns every line break into "<BR>". Main thread only.

#include <string>
#include <vector>

#include "framework/IniFile.h"

namespace brimlow {

// "<BR>" -> CR LF and "<SP>" -> blank, any case.
std::wstring UnescapeLangValue(const std::wstring& value);
// CR LF, lone CR and lone LF -> "<BR>".
std::wstring EscapeLangValue(const std::wstring& value);
// strComp + "." + strProp, or strProp alone when strComp is empty.
std::wstring LangKey(const std::wstring& strComp, const std::wstring& strProp);

class TOxMultiLangLan {
 public:
  TOxMultiLangLan();

  // Reads the file as text (its byte-order mark picks the encoding) and
  // parses it. false, content unchanged, when it cannot be read.
  bool LoadFromFile(const std::wstring& fn);
  void LoadFromString(const std::wstring& str);
  // Sorts, then writes the lines. false when the file cannot be written.
  bool SaveToFile(const std::wstring& fn);
  // The lines joined by CR LF.
  std::wstring ToString();
  // Copies the text into dest, which re-parses it.
  void AssignTo(TOxMultiLangLan& dest);

  void ClearAll();
  // Erases every section but "Info", "AppRes", "SkinRes", "LibRes" and
  // "BasicRes".
  void ClearAllForm();

  // true and *strValue (unescaped) when section strForm has the key;
  // otherwise false and *strValue unchanged.
  bool GetProp(const std::wstring& strForm, const std::wstring& strComp,
               const std::wstring& strProp, std::wstring* strValue);
  void SetProp(const std::wstring& strForm, const std::wstring& strComp,
               const std::wstring& strProp, const std::wstring& strValue);
  void ClearForm(const std::wstring& strForm);
  // Sets sl's Name=Value entry for every key of the section (unescaped),
  // replacing entries of the same name.
  void GetSectionStrings(const std::wstring& strSection, std::vector<std::wstring>* sl);

  // Orders sections "Info", "BasicRes", "SkinRes", "LibRes", "AppRes", then
  // the rest alphabetically; sorts keys within each section but "Info".
  void SortData();
  // Regenerates the lines from the parsed view when it was changed.
  void UpdateData();
  // Re-parses the lines when they were replaced.
  void ApplyData();

  // The raw lines, as loaded or regenerated.
  const std::vector<std::wstring>& Lines();
  // Replaces the lines; they are re-parsed on the next query.
  void SetLines(std::vector<std::wstring> lines);
  // The parsed view (re-parsed first when needed).
  const IniFile& Ini();
  TextEncoding encoding() const { return FIniData.encoding(); }

 private:
  void Changed();

  std::vector<std::wstring> FData;
  IniFile FIniData;
  bool FbModified = false;
  bool FbToApply = true;
};

}  // namespace brimlow
