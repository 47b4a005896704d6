#include "ui/RuzTpl.h"

#include <regex>

#include "base/Text.h"
#include "framework/IniFile.h"
#include "platform/Platform.h"

namespace brimlow {
namespace {

// Entries are "name=value"; the name ends at the first "=".
std::wstring_view EntryName(const std::wstring& entry) {
  const std::size_t equals = entry.find(L'=');
  return std::wstring_view(entry).substr(0, equals);
}

// The path without its last "@" segment.
std::wstring Outer(const std::wstring& path) {
  const int at = TRuzTpl::InStrRev(path, L"@");
  return at < 0 ? std::wstring() : path.substr(0, at);
}

std::wstring Iteration(const std::wstring& scope, const std::wstring& name, int index) {
  return scope + L"@" + name + L"[" + std::to_wstring(index) + L"]";
}

const std::wregex& MarkPattern() {
  static const std::wregex pattern(
      L"\\{([a-z]+[a-z0-9_]*)\\}|<!-- begin block ([A-Za-z0-9_]+) -->|<!-- end block ([A-Za-z0-9_]+) -->",
      std::regex_constants::ECMAScript | std::regex_constants::icase);
  return pattern;
}

}  // namespace

bool TRuzTpl::LoadTpl(const std::wstring& aFileName, std::wstring* error) {
  Bytes content;
  if (platform::Files().ReadFile(aFileName, &content) != platform::Result::kOk) {
    *error = L"cannot read the template " + aFileName;
    return false;
  }
  LoadTplText(DecodeText(content));
  return true;
}

void TRuzTpl::LoadTplText(const std::wstring& text) { m_sTplString = SplitLines(text); }

void TRuzTpl::SetVar(const std::wstring& inToken, const std::wstring& inValue) {
  std::wstring value = inValue;
  for (std::size_t at = value.find(L"\\'"); at != std::wstring::npos; at = value.find(L"\\'", at + 1)) {
    value.erase(at, 1);
  }
  m_oVariables.push_back(m_sCurBlock + L"&" + inToken + L"=" + value);
}

bool TRuzTpl::BeginBlock(const std::wstring& inBlockToken) {
  if (overflow_ > 0 || m_aBlockLevel >= kMaxDepth) {
    ++overflow_;
    return false;
  }
  ++m_aBlockLevel;
  const std::wstring path = m_sCurBlock + L"@" + inBlockToken;
  // The same block, or one nested in it, was the last one begun: its next
  // iteration. A block whose name merely starts the same ("new" after
  // "news") is a different block and starts at 0.
  const bool same = SameText(m_sLastBlockName, path) ||
                    (m_sLastBlockName.size() > path.size() &&
                     SameText(std::wstring_view(m_sLastBlockName).substr(0, path.size()), path) &&
                     m_sLastBlockName[path.size()] == L'[');
  int& index = m_aBlockIndex[m_aBlockLevel];
  index = same ? index + 1 : 0;
  m_sLastBlockName = path;
  m_sCurBlock = Iteration(m_sCurBlock, inBlockToken, index);
  m_oVariables.push_back(m_sCurBlock + L"=");
  return true;
}

bool TRuzTpl::EndBlock(const std::wstring& /*aBlock*/) {
  if (overflow_ > 0) {
    --overflow_;
    return true;
  }
  if (m_aBlockLevel == 0) return false;
  m_sCurBlock = Outer(m_sCurBlock);
  --m_aBlockLevel;
  return true;
}

std::wstring TRuzTpl::GetVar(const std::wstring& inCurBlock, const std::wstring& inToken) const {
  std::wstring scope = inCurBlock;
  for (;;) {
    if (const std::wstring* entry = FindEntry(scope + L"&" + inToken)) {
      return entry->substr(entry->find(L'=') + 1);
    }
    if (scope.empty()) return {};
    scope = Outer(scope);
  }
}

int TRuzTpl::InStrRev(const std::wstring& OrgStr, const std::wstring& FindStr) {
  if (FindStr.empty()) return -1;
  const std::size_t at = OrgStr.rfind(FindStr);
  return at == std::wstring::npos ? -1 : static_cast<int>(at);
}

const std::wstring* TRuzTpl::FindEntry(const std::wstring& name) const {
  for (const std::wstring& entry : m_oVariables) {
    if (SameText(EntryName(entry), name)) return &entry;
  }
  return nullptr;
}

bool TRuzTpl::HasEntry(const std::wstring& name) const { return FindEntry(name) != nullptr; }

// Each level k keeps where it reads (pos), whether it writes (visible), the
// iteration of the block open at k (iter) and where it goes on once the
// block nested in it is done (resume). Reaching a block's end sends the
// enclosing level back to the same begin mark for the next iteration.
bool TRuzTpl::MakeHtml(std::wstring* error) {
  std::wstring text;
  for (const std::wstring& line : m_sTplString) text += line + L"\r\n";
  std::array<std::size_t, 11> pos{};
  std::array<bool, 11> visible{};
  std::array<int, 11> iter{};
  std::array<std::size_t, 11> resume{};
  int level = 0;
  std::wstring scope;
  visible[0] = true;
  m_sHTML.clear();

  for (;;) {
    std::wsmatch mark;
    const auto from = text.cbegin() + static_cast<std::ptrdiff_t>(pos[level]);
    if (!std::regex_search(from, text.cend(), mark, MarkPattern())) {
      m_sHTML.append(from, text.cend());
      return true;
    }
    const std::size_t after = pos[level] + mark.position(0) + mark.length(0);
    const std::wstring before(from, from + mark.position(0));
    if (mark[1].matched) {
      if (visible[level]) m_sHTML += before + GetVar(scope, mark[1].str());
      pos[level] = after;
    } else if (mark[2].matched) {
      if (level >= kMaxDepth) {
        *error = L"blocks nested deeper than " + std::to_wstring(kMaxDepth) + L" at \"" + mark[0].str() + L"\"";
        return false;
      }
      if (visible[level] && iter[level + 1] == 0) m_sHTML += before;
      ++level;
      pos[level] = after;
      iter[level + 1] = 0;
      scope = Iteration(scope, mark[2].str(), iter[level]);
      visible[level] = HasEntry(scope);
      if (!visible[level] && iter[level] > 0) {
        scope = Outer(scope);
        iter[level] = 0;
        --level;
        pos[level] = resume[level];
      }
    } else {
      if (level == 0) {
        *error = L"an end mark without an open block: \"" + mark[0].str() + L"\"";
        return false;
      }
      if (visible[level]) m_sHTML += before;
      ++iter[level];
      scope = Outer(scope);
      --level;
      resume[level] = after;
    }
  }
}

}  // namespace brimlow
