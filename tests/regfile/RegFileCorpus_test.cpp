// Files made by the registry editor of the Wine test platform (the
// "wine-*.reg" exports of a fresh prefix, and its re-exports of the
// hand-written inputs after importing them), see tests/regfile/corpus.

#include <gtest/gtest.h>

#include "RegFileTestUtil.h"
#include "regfile/RegFile.h"

namespace brimlow::regfile {
namespace {

using testing::ReadCorpusFile;
using testing::RegState;

std::vector<RegOp> ParseCorpus(const std::string& name) {
  const Bytes file = ReadCorpusFile(name);
  EXPECT_FALSE(file.empty()) << name << " is missing (BRIMLOW_TEST_DATA)";
  std::vector<RegOp> ops;
  ParseError error;
  EXPECT_TRUE(ParseRegFile(file, &ops, &error))
      << name << ":" << error.line << ": " << ToUtf8(error.message);
  return ops;
}

// Writes operations back in file order.
Bytes Rewrite(const std::vector<RegOp>& ops) {
  RegFileWriter writer;
  for (const auto& op : ops) {
    switch (op.kind) {
      case RegOp::Kind::kCreateKey:
        writer.AddKey(op.key);
        break;
      case RegOp::Kind::kDeleteKey:
        writer.AddKeyDeletion(op.key);
        break;
      case RegOp::Kind::kSetValue:
        writer.AddValue(op.value);
        break;
      case RegOp::Kind::kDeleteValue:
        writer.AddValueDeletion(op.value.name);
        break;
    }
  }
  return writer.FileBytes();
}

RegState StateOf(std::initializer_list<const char*> files) {
  RegState state;
  for (const char* name : files) testing::ApplyToState(&state, ParseCorpus(name));
  return state;
}

// The editor's own exports come out of the writer byte for byte.
TEST(RegFileCorpusTest, WriterReproducesTheEditorsExports) {
  for (const char* name : {"wine-fonts.reg", "wine-environment.reg", "wine-control-panel.reg",
                           "wine-alltypes.reg", "wine-v4.reg", "wine-deletions.reg"}) {
    const Bytes original = ReadCorpusFile(name);
    EXPECT_EQ(Rewrite(ParseCorpus(name)), original) << name;
  }
}

// Writing and reading again changes nothing, whatever the source file.
TEST(RegFileCorpusTest, WriteReadWriteIsStable) {
  for (const char* name : {"alltypes-input.reg", "v4-input.reg", "deletions-base.reg",
                           "deletions-apply.reg", "wine-control-panel.reg"}) {
    const std::vector<RegOp> ops = ParseCorpus(name);
    const Bytes once = Rewrite(ops);
    std::vector<RegOp> again;
    ParseError error;
    ASSERT_TRUE(ParseRegFile(once, &again, &error)) << name << ":" << error.line;
    ASSERT_EQ(again.size(), ops.size()) << name;
    for (std::size_t i = 0; i < ops.size(); ++i) {
      EXPECT_EQ(again[i].kind, ops[i].kind) << name << " op " << i;
      EXPECT_EQ(again[i].key, ops[i].key) << name << " op " << i;
      EXPECT_EQ(again[i].value, ops[i].value) << name << " op " << i;
    }
    EXPECT_EQ(Rewrite(again), once) << name;
  }
}

// The reader understands each input exactly as the editor did when it
// imported it: what the editor exported afterwards is what the reader read.
TEST(RegFileCorpusTest, ReaderAgreesWithTheEditorsImport) {
  struct Case {
    std::initializer_list<const char*> inputs;
    const char* exported;
    const wchar_t* key;
  } cases[] = {
      {{"alltypes-input.reg"}, "wine-alltypes.reg", L"HKEY_CURRENT_USER\\Software\\BrimlowCorpus"},
      {{"v4-input.reg"}, "wine-v4.reg", L"HKEY_CURRENT_USER\\Software\\BrimlowV4"},
      {{"deletions-base.reg", "deletions-apply.reg"}, "wine-deletions.reg",
       L"HKEY_CURRENT_USER\\Software\\BrimlowDel"},
  };
  for (const auto& c : cases) {
    const RegState read = testing::StateBelow(StateOf(c.inputs), c.key);
    const RegState exported = testing::StateBelow(StateOf({c.exported}), c.key);
    EXPECT_EQ(read.keys, exported.keys) << c.exported;
    EXPECT_EQ(read.values, exported.values) << c.exported;
  }
}

}  // namespace
}  // namespace brimlow::regfile
