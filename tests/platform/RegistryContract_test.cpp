// The registry behaviour every platform must share, run against the platform
// in force inside a scratch system: the machine's registry in the Windows
// build, the system image in the stand-in build.

#include <gtest/gtest.h>

#include <algorithm>

#include "platform/Platform.h"
#include "support/ScratchSystem.h"
#include "support/Wine.h"

namespace brimlow::platform {
namespace {

class RegistryContract : public ::testing::Test {
 protected:
  std::wstring Key(const std::wstring& relative) const {
    return relative.empty() ? scratch_.RegPath() : scratch_.RegPath() + L"\\" + relative;
  }
  RegRoot Root() const { return scratch_.RegRoot(); }
  void Set(const std::wstring& key, const RegValue& value) {
    ASSERT_EQ(Reg().SetValue(Root(), Key(key), value), Result::kOk) << ToUtf8(value.name);
  }
  std::vector<std::wstring> SubKeys(const std::wstring& key) {
    std::vector<std::wstring> names;
    EXPECT_EQ(Reg().SubKeyNames(Root(), Key(key), &names), Result::kOk);
    return names;
  }
  std::vector<std::wstring> ValueNames(const std::wstring& key) {
    std::vector<RegValue> values;
    EXPECT_EQ(Reg().Values(Root(), Key(key), &values), Result::kOk);
    std::vector<std::wstring> names;
    for (const auto& value : values) names.push_back(value.name);
    return names;
  }

  testing::ScratchSystem scratch_;
};

}  // namespace

// Readable failures: a value prints as name, type and size.
void PrintTo(const RegValue& value, std::ostream* out) {
  *out << '"' << ToUtf8(value.name) << "\" type " << value.type << " size " << value.data.size();
}

namespace {

RegValue Raw(std::wstring name, std::uint32_t type, Bytes data) {
  return RegValue{std::move(name), type, std::move(data)};
}

TEST_F(RegistryContract, SubkeysEnumerateSortedIgnoringCaseWithTheirCreatedCase) {
  for (const wchar_t* name : {L"gamma", L"_x", L"Zed", L"beta", L"alpha2", L"Alpha"})
    ASSERT_EQ(Reg().CreateKey(Root(), Key(name)), Result::kOk);
  // Windows compares upper-case forms, so "_" (0x5F) sorts after the
  // letters; Wine compares lower-case forms.
  std::vector<std::wstring> expected = {L"Alpha", L"alpha2", L"beta", L"gamma", L"Zed", L"_x"};
  if (testing::UnderWine()) std::rotate(expected.begin(), expected.end() - 1, expected.end());
  EXPECT_EQ(SubKeys(L""), expected);
}

TEST_F(RegistryContract, ValuesEnumerateInCreationOrder) {
  Set(L"", MakeStringValue(L"z", L"1"));
  Set(L"", MakeStringValue(L"a", L"2"));
  Set(L"", MakeStringValue(L"", L"default"));
  Set(L"", MakeDwordValue(L"M", 3));
  Set(L"", MakeStringValue(L"A", L"rewritten"));  // same value, same place
  // Wine keeps a key's values sorted by name.
  const bool sorted = testing::UnderWine();
  const std::vector<std::wstring> expected =
      sorted ? std::vector<std::wstring>{L"", L"a", L"M", L"z"}
             : std::vector<std::wstring>{L"z", L"a", L"", L"M"};
  EXPECT_EQ(ValueNames(L""), expected);

  ASSERT_EQ(Reg().DeleteValue(Root(), Key(L""), L"z"), Result::kOk);
  Set(L"", MakeStringValue(L"z", L"again"));  // a new value goes last
  const std::vector<std::wstring> after = {L"a", L"", L"M", L"z"};
  if (!sorted) {
    EXPECT_EQ(ValueNames(L""), after);
  }
}

TEST_F(RegistryContract, MissingKeysAndValuesAreNotFoundNotFailures) {
  Set(L"present", MakeStringValue(L"here", L"x"));
  RegValue value;
  std::vector<std::wstring> names;
  std::vector<RegValue> values;
  std::uint32_t subkeys = 0, count = 0;
  const std::wstring missing = Key(L"absent");
  const std::wstring deep = Key(L"absent\\deeper");
  const struct {
    const char* what;
    Result result;
  } cases[] = {
      {"key exists", Reg().KeyExists(Root(), missing)},
      {"key below a missing key", Reg().KeyExists(Root(), deep)},
      {"subkey names", Reg().SubKeyNames(Root(), missing, &names)},
      {"values", Reg().Values(Root(), missing, &values)},
      {"count children", Reg().CountChildren(Root(), missing, &subkeys, &count)},
      {"query in missing key", Reg().QueryValue(Root(), missing, L"here", &value)},
      {"missing value", Reg().QueryValue(Root(), Key(L"present"), L"gone", &value)},
      {"missing default value", Reg().QueryValue(Root(), Key(L"present"), L"", &value)},
      {"delete missing value", Reg().DeleteValue(Root(), Key(L"present"), L"gone")},
      {"delete value in missing key", Reg().DeleteValue(Root(), missing, L"here")},
      {"delete missing key", Reg().DeleteKeyTree(Root(), missing)},
  };
  for (const auto& c : cases) EXPECT_EQ(c.result, Result::kNotFound) << c.what;
}

TEST_F(RegistryContract, UnknownRootFailsInsteadOfReportingMissing) {
  const auto bogus = static_cast<RegRoot>(0x80001234u);
  EXPECT_EQ(Reg().KeyExists(bogus, L"Software"), Result::kFailed);
  EXPECT_NE(Reg().SetValue(bogus, L"Software", MakeDwordValue(L"x", 1)), Result::kOk);
}

TEST_F(RegistryContract, ValuesComeBackByteExact) {
  Bytes big(5000);
  for (std::size_t i = 0; i < big.size(); ++i) big[i] = static_cast<std::uint8_t>(i * 7);
  const RegValue cases[] = {
      MakeStringValue(L"sz", L"hello w\u00f6rld"),
      MakeStringValue(L"expand", L"%SystemRoot%\\notepad.exe", RegType::kExpandSz),
      Raw(L"sz without terminator", RegType::kSz, {'a', 0, 'b', 0}),
      MakeStringValue(L"empty sz", L""),
      Raw(L"binary", RegType::kBinary, {0x00, 0x01, 0xFF, 0x80, 0x7F}),
      Raw(L"empty binary", RegType::kBinary, {}),
      MakeDwordValue(L"dword", 0xDEADBEEFu),
      Raw(L"multi", RegType::kMultiSz, {'a', 0, 0, 0, 'b', 0, 'c', 0, 0, 0, 0, 0}),
      Raw(L"qword", RegType::kQword, {1, 2, 3, 4, 5, 6, 7, 0x88}),
      Raw(L"none", RegType::kNone, {9}),
      Raw(L"odd type", 0x12345u, {0xAB, 0xCD, 0xEF}),
      Raw(L"big", RegType::kBinary, big),
      MakeStringValue(L"", L"the default value"),
  };
  for (const auto& wanted : cases) Set(L"types", wanted);

  for (const auto& wanted : cases) {
    RegValue got;
    ASSERT_EQ(Reg().QueryValue(Root(), Key(L"types"), wanted.name, &got), Result::kOk)
        << ToUtf8(wanted.name);
    EXPECT_EQ(got.type, wanted.type) << ToUtf8(wanted.name);
    EXPECT_EQ(got.data, wanted.data) << ToUtf8(wanted.name);
  }
  std::vector<RegValue> listed;
  ASSERT_EQ(Reg().Values(Root(), Key(L"types"), &listed), Result::kOk);
  ASSERT_EQ(listed.size(), std::size(cases));
  for (const auto& wanted : cases) {
    const auto found = std::find_if(listed.begin(), listed.end(),
                                    [&](const RegValue& v) { return v.name == wanted.name; });
    ASSERT_NE(found, listed.end()) << ToUtf8(wanted.name);
    EXPECT_EQ(*found, wanted);
  }
}

TEST_F(RegistryContract, NamesIgnoreCaseAndKeepTheirFirstSpelling) {
  ASSERT_EQ(Reg().CreateKey(Root(), Key(L"CaseKey\\Sub")), Result::kOk);
  EXPECT_EQ(Reg().KeyExists(Root(), Key(L"casekey\\SUB")), Result::kOk);
  ASSERT_EQ(Reg().CreateKey(Root(), Key(L"CASEKEY")), Result::kOk);
  EXPECT_EQ(SubKeys(L""), std::vector<std::wstring>{L"CaseKey"});

  Set(L"CaseKey", MakeStringValue(L"Name", L"first"));
  Set(L"casekey", MakeStringValue(L"NAME", L"second"));
  std::vector<RegValue> values;
  ASSERT_EQ(Reg().Values(Root(), Key(L"CaseKey"), &values), Result::kOk);
  ASSERT_EQ(values.size(), 1u);
  EXPECT_EQ(values[0].name, L"Name");
  EXPECT_EQ(RegValueText(values[0]), L"second");

  RegValue got;
  EXPECT_EQ(Reg().QueryValue(Root(), Key(L"CASEKEY"), L"name", &got), Result::kOk);
  EXPECT_EQ(Reg().DeleteValue(Root(), Key(L"CaseKey"), L"nAmE"), Result::kOk);
  EXPECT_EQ(Reg().QueryValue(Root(), Key(L"CaseKey"), L"Name", &got), Result::kNotFound);
}

TEST_F(RegistryContract, DeletingAKeyTakesItsWholeTreeAndNothingBeside) {
  Set(L"tree\\a\\b\\c", MakeStringValue(L"v", L"deep"));
  Set(L"tree\\a\\d", MakeDwordValue(L"n", 1));
  Set(L"tree", MakeStringValue(L"kept?", L"no"));
  Set(L"treehouse", MakeStringValue(L"kept", L"yes"));  // shares the prefix

  ASSERT_EQ(Reg().DeleteKeyTree(Root(), Key(L"tree")), Result::kOk);
  EXPECT_EQ(Reg().KeyExists(Root(), Key(L"tree")), Result::kNotFound);
  EXPECT_EQ(Reg().KeyExists(Root(), Key(L"tree\\a\\b")), Result::kNotFound);
  EXPECT_EQ(Reg().KeyExists(Root(), Key(L"treehouse")), Result::kOk);
  EXPECT_EQ(SubKeys(L""), std::vector<std::wstring>{L"treehouse"});
}

TEST_F(RegistryContract, CountChildrenCountsDirectSubkeysAndValues) {
  Set(L"parent\\one\\grandchild", MakeDwordValue(L"x", 1));
  ASSERT_EQ(Reg().CreateKey(Root(), Key(L"parent\\two")), Result::kOk);
  Set(L"parent", MakeDwordValue(L"a", 1));
  Set(L"parent", MakeDwordValue(L"b", 2));
  Set(L"parent", MakeStringValue(L"", L"default"));

  std::uint32_t subkeys = 99, values = 99;
  ASSERT_EQ(Reg().CountChildren(Root(), Key(L"parent"), &subkeys, &values), Result::kOk);
  EXPECT_EQ(subkeys, 2u);
  EXPECT_EQ(values, 3u);
  ASSERT_EQ(Reg().CountChildren(Root(), Key(L"parent\\two"), &subkeys, &values), Result::kOk);
  EXPECT_EQ(subkeys, 0u);
  EXPECT_EQ(values, 0u);
}

}  // namespace
}  // namespace brimlow::platform
