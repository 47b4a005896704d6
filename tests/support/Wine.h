#pragma once
// Whether the tests run under Wine. Wine's registry differs from Windows' in
// two documented ways the contract tests must allow for: it enumerates a
// key's values sorted by name (Windows: in creation order), and it sorts
// names by their lower-case form (Windows: upper-case, so "_" sorts after
// the letters there and before them under Wine).

namespace brimlow::testing {

// Windows build: true under Wine. Stand-in build: false (the stand-in
// behaves as Windows does).
bool UnderWine();

}  // namespace brimlow::testing
