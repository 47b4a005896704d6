#include "platform/standin/ImageRegistry.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>

#include "support/HostTempDir.h"

namespace brimlow::platform::standin {
namespace {

namespace fs = std::filesystem;
using testing::HostTempDir;

constexpr RegRoot kHkcu = RegRoot::kCurrentUser;
constexpr RegRoot kHklm = RegRoot::kLocalMachine;

std::string ReadHost(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::vector<std::wstring> SubKeys(Registry& registry, RegRoot root, const std::wstring& path) {
  std::vector<std::wstring> names;
  EXPECT_EQ(registry.SubKeyNames(root, path, &names), Result::kOk) << ToUtf8(path);
  return names;
}

std::vector<std::wstring> ValueNames(Registry& registry, RegRoot root, const std::wstring& path) {
  std::vector<RegValue> values;
  EXPECT_EQ(registry.Values(root, path, &values), Result::kOk) << ToUtf8(path);
  std::vector<std::wstring> names;
  for (const auto& value : values) names.push_back(value.name);
  return names;
}

// The whole registry as the editor would write it.
std::wstring Dump(Registry& registry) {
  regfile::RegFileWriter writer;
  for (const RegRoot root : {kHklm, kHkcu, RegRoot::kUsers}) {
    EXPECT_EQ(regfile::ExportKeyTree(registry, root, L"", &writer), Result::kOk);
  }
  return writer.Text();
}

std::vector<regfile::RegOp> ParseText(const std::wstring& text) {
  std::vector<regfile::RegOp> ops;
  regfile::ParseError error;
  EXPECT_TRUE(regfile::ParseRegFile(ToUtf16LeBytes(L"\xFEFF" + text), &ops, &error))
      << error.line << ": " << ToUtf8(error.message);
  return ops;
}

TEST(ImageRegistryTest, NamesIgnoreCaseAndKeepTheirFirstSpelling) {
  ImageRegistry registry;
  ASSERT_EQ(registry.CreateKey(kHkcu, L"Software\\MixedCase"), Result::kOk);
  EXPECT_EQ(registry.CreateKey(kHkcu, L"SOFTWARE\\MIXEDCASE\\"), Result::kOk);
  ASSERT_EQ(registry.SetValue(kHkcu, L"software\\mixedcase", MakeStringValue(L"Value", L"1")),
            Result::kOk);
  ASSERT_EQ(registry.SetValue(kHkcu, L"Software\\MixedCase", MakeDwordValue(L"VALUE", 2)),
            Result::kOk);

  EXPECT_EQ(SubKeys(registry, kHkcu, L"software"), std::vector<std::wstring>{L"MixedCase"});
  EXPECT_EQ(ValueNames(registry, kHkcu, L"Software\\MixedCase"), std::vector<std::wstring>{L"Value"});
  RegValue value;
  ASSERT_EQ(registry.QueryValue(kHkcu, L"SOFTWARE\\mixedCASE", L"vAlUe", &value), Result::kOk);
  EXPECT_EQ(value, MakeDwordValue(L"Value", 2));
  EXPECT_EQ(registry.KeyExists(kHkcu, L"SoftWare\\MIXEDcase"), Result::kOk);
}

TEST(ImageRegistryTest, EnumeratesKeysSortedAndValuesInCreationOrder) {
  ImageRegistry registry;
  for (const wchar_t* name : {L"beta", L"_under", L"Gamma", L"alpha", L"Alpha2", L"\xE9t\xE9"}) {
    ASSERT_EQ(registry.CreateKey(kHkcu, std::wstring(L"K\\") + name), Result::kOk);
  }
  // Upper-cased order: A < G < _ (0x5F) < accented letters.
  EXPECT_EQ(SubKeys(registry, kHkcu, L"K"),
            (std::vector<std::wstring>{L"alpha", L"Alpha2", L"beta", L"Gamma", L"_under", L"\xE9t\xE9"}));

  for (const wchar_t* name : {L"z", L"a", L"", L"M"}) {
    ASSERT_EQ(registry.SetValue(kHkcu, L"K", MakeStringValue(name, L"v")), Result::kOk);
  }
  // Rewriting a value keeps its place; deleting and adding it again moves it last.
  ASSERT_EQ(registry.SetValue(kHkcu, L"K", MakeDwordValue(L"Z", 1)), Result::kOk);
  ASSERT_EQ(registry.DeleteValue(kHkcu, L"K", L"A"), Result::kOk);
  ASSERT_EQ(registry.SetValue(kHkcu, L"K", MakeDwordValue(L"a", 1)), Result::kOk);
  EXPECT_EQ(ValueNames(registry, kHkcu, L"K"), (std::vector<std::wstring>{L"z", L"", L"M", L"a"}));

  std::uint32_t subkeys = 0, values = 0;
  ASSERT_EQ(registry.CountChildren(kHkcu, L"K", &subkeys, &values), Result::kOk);
  EXPECT_EQ(subkeys, 6u);
  EXPECT_EQ(values, 4u);
}

TEST(ImageRegistryTest, MissingAndMalformedKeysAndValues) {
  ImageRegistry registry;
  ASSERT_EQ(registry.SetValue(kHkcu, L"A\\B", MakeStringValue(L"v", L"x")), Result::kOk);
  std::vector<std::wstring> names{L"stale"};
  std::vector<RegValue> values(1);
  RegValue value;
  std::uint32_t subkeys = 9, count = 9;
  struct Case {
    const char* what;
    Result got;
    Result want;
  } cases[] = {
      {"exists: missing key", registry.KeyExists(kHkcu, L"A\\C"), Result::kNotFound},
      {"exists: root", registry.KeyExists(kHkcu, L""), Result::kOk},
      {"exists: empty part", registry.KeyExists(kHkcu, L"A\\\\B"), Result::kNotFound},
      {"exists: leading backslash", registry.KeyExists(kHkcu, L"\\A"), Result::kNotFound},
      {"subkeys: missing", registry.SubKeyNames(kHkcu, L"Nope", &names), Result::kNotFound},
      {"values: missing", registry.Values(kHkcu, L"Nope", &values), Result::kNotFound},
      {"query: missing key", registry.QueryValue(kHkcu, L"Nope", L"v", &value), Result::kNotFound},
      {"query: missing value", registry.QueryValue(kHkcu, L"A\\B", L"w", &value), Result::kNotFound},
      {"count: missing", registry.CountChildren(kHkcu, L"Nope", &subkeys, &count), Result::kNotFound},
      {"delete value: missing key", registry.DeleteValue(kHkcu, L"Nope", L"v"), Result::kNotFound},
      {"delete value: missing", registry.DeleteValue(kHkcu, L"A\\B", L"w"), Result::kNotFound},
      {"delete key: missing", registry.DeleteKeyTree(kHkcu, L"A\\C"), Result::kNotFound},
      {"delete key: missing parent", registry.DeleteKeyTree(kHkcu, L"X\\Y"), Result::kNotFound},
      {"delete key: a root", registry.DeleteKeyTree(kHkcu, L""), Result::kFailed},
      {"delete key: classes root", registry.DeleteKeyTree(RegRoot::kClassesRoot, L""), Result::kFailed},
      {"create: empty part", registry.CreateKey(kHkcu, L"A\\\\B"), Result::kFailed},
      {"create: name too long", registry.CreateKey(kHkcu, std::wstring(256, L'n')), Result::kFailed},
      {"create: 255 is fine", registry.CreateKey(kHkcu, std::wstring(255, L'n')), Result::kOk},
      {"create: line break", registry.CreateKey(kHkcu, L"a\nb"), Result::kFailed},
      {"set: line break in name", registry.SetValue(kHkcu, L"A", MakeDwordValue(L"a\r", 1)), Result::kFailed},
      {"performance data", registry.CreateKey(RegRoot::kPerformanceData, L"X"), Result::kFailed},
  };
  for (const auto& c : cases) EXPECT_EQ(c.got, c.want) << c.what;
  EXPECT_TRUE(names.empty());
  EXPECT_TRUE(values.empty());
  EXPECT_EQ(subkeys, 0u);
  EXPECT_EQ(SubKeys(registry, kHkcu, L"A"), std::vector<std::wstring>{L"B"});
  EXPECT_EQ(ValueNames(registry, kHkcu, L"A"), std::vector<std::wstring>{});
}

TEST(ImageRegistryTest, DeletesAWholeTreeAndNothingBeside) {
  ImageRegistry registry;
  for (const wchar_t* path : {L"T\\A\\B\\C", L"T\\A\\D", L"T\\AB", L"T\\A2"}) {
    ASSERT_EQ(registry.SetValue(kHkcu, path, MakeDwordValue(L"v", 1)), Result::kOk);
  }
  ASSERT_EQ(registry.DeleteKeyTree(kHkcu, L"t\\a"), Result::kOk);
  EXPECT_EQ(registry.KeyExists(kHkcu, L"T\\A\\B\\C"), Result::kNotFound);
  EXPECT_EQ(SubKeys(registry, kHkcu, L"T"), (std::vector<std::wstring>{L"A2", L"AB"}));
  ASSERT_EQ(registry.CreateKey(kHkcu, L"T\\A"), Result::kOk);
  EXPECT_EQ(SubKeys(registry, kHkcu, L"T\\A"), std::vector<std::wstring>{});
}

TEST(ImageRegistryTest, ClassesRootIsMachineSoftwareClasses) {
  ImageRegistry registry;
  constexpr RegRoot kHkcr = RegRoot::kClassesRoot;
  EXPECT_EQ(registry.KeyExists(kHkcr, L""), Result::kOk);
  EXPECT_EQ(SubKeys(registry, kHkcr, L""), std::vector<std::wstring>{});

  ASSERT_EQ(registry.SetValue(kHkcr, L".txt", MakeStringValue(L"", L"txtfile")), Result::kOk);
  RegValue value;
  ASSERT_EQ(registry.QueryValue(kHklm, L"SOFTWARE\\CLASSES\\.TXT", L"", &value), Result::kOk);
  EXPECT_EQ(RegValueText(value), L"txtfile");

  ASSERT_EQ(registry.CreateKey(kHklm, L"Software\\Classes\\CLSID"), Result::kOk);
  EXPECT_EQ(SubKeys(registry, kHkcr, L""), (std::vector<std::wstring>{L".txt", L"CLSID"}));
  ASSERT_EQ(registry.DeleteKeyTree(kHkcr, L".txt"), Result::kOk);
  EXPECT_EQ(SubKeys(registry, kHklm, L"Software\\Classes"), std::vector<std::wstring>{L"CLSID"});
}

TEST(ImageRegistryTest, ApplyIsAllOrNothing) {
  HostTempDir dir;
  const fs::path file = dir.path() / "registry.reg";
  ImageRegistry registry;
  ASSERT_TRUE(registry.Load(file, nullptr));
  ASSERT_EQ(registry.Apply(ParseText(
                L"Windows Registry Editor Version 5.00\r\n\r\n"
                L"[HKEY_CURRENT_USER\\Keep]\r\n\"a\"=\"1\"\r\n\"b\"=dword:00000002\r\n\"c\"=hex:03\r\n\r\n"
                L"[HKEY_CURRENT_USER\\Keep\\Sub\\Deep]\r\n@=\"deep\"\r\n")),
            Result::kOk);
  const std::wstring before = Dump(registry);
  const std::string file_before = ReadHost(file);
  ASSERT_FALSE(file_before.empty());

  // Every kind of change, then one that cannot be made.
  std::vector<regfile::RegOp> ops = ParseText(
      L"Windows Registry Editor Version 5.00\r\n\r\n"
      L"[-HKEY_CURRENT_USER\\Keep\\Sub]\r\n\r\n"
      L"[HKEY_CURRENT_USER\\Keep]\r\n\"a\"=\"changed\"\r\n\"b\"=-\r\n\"new\"=hex(0):\r\n\r\n"
      L"[HKEY_CURRENT_USER\\Brand\\New]\r\n\"x\"=\"y\"\r\n\r\n"
      L"[-HKEY_CURRENT_USER\\Keep\\Sub]\r\n");
  regfile::RegOp bad;
  bad.kind = regfile::RegOp::Kind::kCreateKey;
  bad.key = L"HKEY_CURRENT_USER\\Keep\\line\nbreak";
  ops.push_back(bad);
  EXPECT_EQ(registry.Apply(ops), Result::kFailed);
  EXPECT_EQ(Dump(registry), before);
  EXPECT_EQ(ValueNames(registry, kHkcu, L"Keep"), (std::vector<std::wstring>{L"a", L"b", L"c"}));
  EXPECT_EQ(ReadHost(file), file_before);

  // Without the bad operation everything takes effect; deleting what is
  // already gone is no failure.
  ops.pop_back();
  ASSERT_EQ(registry.Apply(ops), Result::kOk);
  EXPECT_EQ(registry.KeyExists(kHkcu, L"Keep\\Sub"), Result::kNotFound);
  EXPECT_EQ(ValueNames(registry, kHkcu, L"Keep"), (std::vector<std::wstring>{L"a", L"c", L"new"}));
  EXPECT_NE(ReadHost(file), file_before);
}

TEST(ImageRegistryTest, SavesAtomicallyAndReloadsByteExact) {
  HostTempDir dir;
  const fs::path file = dir.path() / "registry.reg";
  const RegValue values[] = {
      MakeStringValue(L"", L"default \"quoted\" \\ back"),
      MakeStringValue(L"exp", L"%TEMP%", RegType::kExpandSz),
      RegValue{L"multi", RegType::kMultiSz, ToUtf16LeBytes(std::wstring(L"a\0b\0\0", 5))},
      MakeDwordValue(L"dword", 7),
      RegValue{L"qword", RegType::kQword, {1, 2, 3, 4, 5, 6, 7, 8}},
      RegValue{L"binary", RegType::kBinary, Bytes(100, 0xAB)},
      RegValue{L"none", RegType::kNone, {}},
      RegValue{L"sz without zero", RegType::kSz, {0x41, 0x00}},
      RegValue{L"odd type", 0x1234u, {9}},
  };
  {
    ImageRegistry registry;
    ASSERT_TRUE(registry.Load(file, nullptr));
    EXPECT_FALSE(fs::exists(file)) << "nothing changed yet";
    for (const auto& value : values) {
      ASSERT_EQ(registry.SetValue(kHkcu, L"Software\\Types", value), Result::kOk);
    }
    ASSERT_EQ(registry.CreateKey(kHklm, L"Software\\Empty"), Result::kOk);
  }
  const std::string saved = ReadHost(file);
  EXPECT_FALSE(fs::exists(dir.path() / "registry.reg.tmp"));

  ImageRegistry reloaded;
  std::wstring error;
  ASSERT_TRUE(reloaded.Load(file, &error)) << ToUtf8(error);
  std::vector<RegValue> read;
  ASSERT_EQ(reloaded.Values(kHkcu, L"Software\\Types", &read), Result::kOk);
  EXPECT_EQ(read, std::vector<RegValue>(std::begin(values), std::end(values)));
  EXPECT_EQ(reloaded.KeyExists(kHklm, L"Software\\Empty"), Result::kOk);

  // A change and its undoing write the very same file again.
  ASSERT_EQ(reloaded.SetValue(kHkcu, L"Software\\Types", MakeDwordValue(L"extra", 1)), Result::kOk);
  EXPECT_NE(ReadHost(file), saved);
  ASSERT_EQ(reloaded.DeleteValue(kHkcu, L"Software\\Types", L"extra"), Result::kOk);
  EXPECT_EQ(ReadHost(file), saved);
}

TEST(ImageRegistryTest, MalformedFileIsReportedAndNeverOverwritten) {
  HostTempDir dir;
  const std::string content = "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\A]\r\n\"v\"=dword:xyz\r\n";
  dir.Write("registry.reg", content);
  ImageRegistry registry;
  std::wstring error;
  EXPECT_FALSE(registry.Load(dir.path() / "registry.reg", &error));
  EXPECT_EQ(ToUtf8(error).substr(0, 15), "registry.reg:4:");
  EXPECT_EQ(registry.KeyExists(kHkcu, L"A"), Result::kNotFound);
  ASSERT_EQ(registry.CreateKey(kHkcu, L"B"), Result::kOk);
  EXPECT_EQ(ReadHost(dir.path() / "registry.reg"), content);

  dir.Write("empty.reg", "");
  EXPECT_TRUE(registry.Load(dir.path() / "empty.reg", &error));
  EXPECT_EQ(registry.KeyExists(kHkcu, L"B"), Result::kNotFound);
}

TEST(ImageRegistryTest, ChangeThatCannotBeSavedIsTakenBack) {
  HostTempDir dir;
  ImageRegistry registry;
  ASSERT_TRUE(registry.Load(dir.path() / "gone" / "registry.reg", nullptr));
  EXPECT_EQ(registry.SetValue(kHkcu, L"A", MakeDwordValue(L"v", 1)), Result::kFailed);
  EXPECT_EQ(registry.KeyExists(kHkcu, L"A"), Result::kNotFound);
  EXPECT_EQ(registry.Apply(ParseText(L"REGEDIT4\r\n[HKEY_CURRENT_USER\\B]\r\n")), Result::kFailed);
  EXPECT_EQ(registry.KeyExists(kHkcu, L"B"), Result::kNotFound);
}

TEST(ImageRegistryTest, BatchSavesOnceAtTheEnd) {
  HostTempDir dir;
  const fs::path file = dir.path() / "registry.reg";
  ImageRegistry registry;
  ASSERT_TRUE(registry.Load(file, nullptr));
  {
    ImageRegistry::ScopedBatch batch(registry);
    {
      ImageRegistry::ScopedBatch inner(registry);
      ASSERT_EQ(registry.CreateKey(kHkcu, L"One"), Result::kOk);
    }
    ASSERT_EQ(registry.CreateKey(kHkcu, L"Two"), Result::kOk);
    EXPECT_FALSE(fs::exists(file));
  }
  ImageRegistry reloaded;
  ASSERT_TRUE(reloaded.Load(file, nullptr));
  EXPECT_EQ(SubKeys(reloaded, kHkcu, L""), (std::vector<std::wstring>{L"One", L"Two"}));

  {
    ImageRegistry::ScopedBatch batch(registry);
    ASSERT_EQ(registry.CreateKey(kHkcu, L"Three"), Result::kOk);
    std::wstring error;
    EXPECT_TRUE(registry.Flush(&error)) << ToUtf8(error);
    ASSERT_TRUE(reloaded.Load(file, nullptr));
    EXPECT_EQ(reloaded.KeyExists(kHkcu, L"Three"), Result::kOk);
  }
}

TEST(ImageRegistryTest, ConcurrentWritersLoseNothing) {
  ImageRegistry registry;
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([&registry, t] {
      for (int i = 0; i < 200; ++i) {
        const std::wstring key = L"T" + std::to_wstring(t) + L"\\K" + std::to_wstring(i);
        registry.SetValue(kHkcu, key, MakeDwordValue(L"v", static_cast<std::uint32_t>(i)));
        if (i % 2) registry.DeleteKeyTree(kHkcu, key);
      }
    });
  }
  for (auto& thread : threads) thread.join();
  for (int t = 0; t < 4; ++t) {
    EXPECT_EQ(SubKeys(registry, kHkcu, L"T" + std::to_wstring(t)).size(), 100u);
  }
}

// ExportKeyTree and ApplyRegOps over a live registry.
TEST(ImageRegistryTest, ExportsAKeyTreeAndAppliesItElsewhere) {
  ImageRegistry registry;
  ASSERT_EQ(registry.SetValue(kHkcu, L"Src", MakeStringValue(L"", L"top")), Result::kOk);
  ASSERT_EQ(registry.SetValue(kHkcu, L"Src\\b\\Leaf", MakeDwordValue(L"n", 1)), Result::kOk);
  ASSERT_EQ(registry.CreateKey(kHkcu, L"Src\\A"), Result::kOk);

  regfile::RegFileWriter writer;
  EXPECT_EQ(regfile::ExportKeyTree(registry, kHkcu, L"Nope", &writer), Result::kNotFound);
  ASSERT_EQ(regfile::ExportKeyTree(registry, kHkcu, L"Src", &writer), Result::kOk);
  EXPECT_EQ(writer.Text(),
            L"Windows Registry Editor Version 5.00\r\n\r\n"
            L"[HKEY_CURRENT_USER\\Src]\r\n@=\"top\"\r\n\r\n"
            L"[HKEY_CURRENT_USER\\Src\\A]\r\n\r\n"
            L"[HKEY_CURRENT_USER\\Src\\b]\r\n\r\n"
            L"[HKEY_CURRENT_USER\\Src\\b\\Leaf]\r\n\"n\"=dword:00000001\r\n\r\n");

  ImageRegistry other;
  std::vector<regfile::RegOp> ops;
  regfile::ParseError error;
  ASSERT_TRUE(regfile::ParseRegFile(writer.FileBytes(), &ops, &error));
  ASSERT_EQ(regfile::ApplyRegOps(other, ops), Result::kOk);
  EXPECT_EQ(Dump(other), Dump(registry));

  regfile::RegOp unknown_root;
  unknown_root.key = L"HKEY_ELSEWHERE\\X";
  const regfile::RegOp* failed = nullptr;
  ops.push_back(unknown_root);
  EXPECT_EQ(regfile::ApplyRegOps(other, ops, &failed), Result::kFailed);
  EXPECT_EQ(failed, &ops.back());
}

}  // namespace
}  // namespace brimlow::platform::standin
