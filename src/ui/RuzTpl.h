#pragma once
// The page template engine: a text with "{name}" variable references and
// "<!-- begin block NAME -->" ... "<!-- end block NAME -->" blocks that are
// left out or repeated, filled through SetVar / BeginBlock / EndBlock and
// rendered by MakeHtml. Values are inserted unchanged (no HTML escaping).
// One thread at a time.

#include <array>
#include <string>
#include <vector>

namespace brimlow {

class TRuzTpl {
 public:
  // Blocks nest at most this deep, in the template and while filling.
  static constexpr int kMaxDepth = 9;

  TRuzTpl() = default;

  // Loads the template file (a byte-order mark names its encoding, else the
  // 8-bit code page). On failure returns false, keeps the previous template
  // and stores the reason in *error.
  bool LoadTpl(const std::wstring& aFileName, std::wstring* error);
  // The same from text already in memory.
  void LoadTplText(const std::wstring& text);

  // Adds a variable to the scope being filled; "\'" in the value becomes "'".
  // A name already set in that scope keeps its first value.
  void SetVar(const std::wstring& inToken, const std::wstring& inValue);
  // Opens the next iteration of a block in the current scope. Returns false
  // (and changes nothing) beyond kMaxDepth; the matching EndBlock is then
  // ignored too.
  bool BeginBlock(const std::wstring& inBlockToken);
  // Closes the innermost open block; the name is not looked at. Returns
  // false when no block is open.
  bool EndBlock(const std::wstring& aBlock = L"");

  // The value of a variable seen from a scope: the scope's own entry, else
  // the enclosing scopes' outwards; "" when none has it.
  std::wstring GetVar(const std::wstring& inCurBlock, const std::wstring& inToken) const;

  // Renders the template into Html(). Returns false and stores the reason in
  // *error for a template outside the language (an end mark without an open
  // block, blocks nested deeper than kMaxDepth); Html() then holds what was
  // rendered up to the fault.
  bool MakeHtml(std::wstring* error);
  const std::wstring& Html() const { return m_sHTML; }

  // Characters before the last occurrence of FindStr in OrgStr; -1 when
  // there is none (or FindStr is empty).
  static int InStrRev(const std::wstring& OrgStr, const std::wstring& FindStr);

 private:
  bool HasEntry(const std::wstring& name) const;
  const std::wstring* FindEntry(const std::wstring& name) const;

  std::vector<std::wstring> m_oVariables;  // "name=value" lines, appended only
  std::vector<std::wstring> m_sTplString;  // the template's lines
  std::wstring m_sCurBlock;
  int m_aBlockLevel = 0;
  std::wstring m_sLastBlockName;
  std::array<int, 11> m_aBlockIndex{};
  std::wstring m_sHTML;
  int overflow_ = 0;  // blocks refused by BeginBlock still waiting for their EndBlock
};

}  // namespace brimlow
