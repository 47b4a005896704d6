// The engine's choice of language and skin, and the lists it offers.

#include <algorithm>

#include "base/Text.h"
#include "framework/OxEngine.h"
#include "framework/OxMultiLangData.h"
#include "framework/WindowsVersion.h"
#include "framework/SkinHolder.h"
#include "framework/utils/Files.h"
#include "framework/utils/NameValueList.h"
#include "framework/utils/Paths.h"
#include "platform/Platform.h"

namespace brimlow {
namespace {

bool IsFile(const std::wstring& path) {
  platform::FileEntry entry;
  return platform::Files().Stat(path, &entry) == platform::Result::kOk && !entry.IsFolder();
}

// "<program folder><setting value>\" for the folder setting. The program
// folder is the one the settings store found its constant files in.
std::wstring DataFolder(const std::wstring& setting) {
  const TOxSettings& settings = GetOxSettings();
  return settings.ConstDataPath() + settings.GetSettingString(setting) + L"\\";
}

bool LessText(const std::wstring& a, const std::wstring& b) { return CompareText(a, b) < 0; }

}  // namespace

// --- Language -----------------------------------------------------------------

void TOxEngine::SetLanguage(const std::wstring& strName) {
  if (!FLanguageData) return;
  const std::wstring name = strName.empty() ? L"Default" : strName;
  if (name == FLanguage) return;

  const std::wstring path = DataFolder(L"Path.Languages") + name + L".lan";
  if (IsFile(path) && FLanguageData->LoadCurrentFromFile(path)) {
    FLanguage = name;
  } else {
    if (!FLanguage.empty()) {
      // Back to the built-in English: the windows are shown again in it, so
      // no text of the language left behind stays on screen.
      FLanguageData->ClearCurrentAll();
      FLanguageData->ApplyClients();
    }
    FLanguage = L"English";
  }
  GetOxSettings().SetSettingstring(L"Language", FLanguage);

  MergeSkinTexts();
  if (!FInLoaded && OnLanguageChanged) OnLanguageChanged();
  UpdateTitle();
}

void TOxEngine::MergeSkinTexts() {
  std::vector<std::wstring>* strings = FSkinData ? FSkinData->ResourceStrings() : nullptr;
  if (!strings) return;
  // The merge keeps names the list already holds, so the previous
  // language's texts go first; otherwise a second language change would
  // leave the toolkit's captions in the first language.
  for (const std::wstring& name : FMergedSkinTexts) SetListValue(strings, name, L"");
  std::vector<std::wstring> before = *strings;
  FLanguageData->GetSectionStrings(L"SkinRes", strings);
  FMergedSkinTexts.clear();
  for (const std::wstring& line : *strings) {
    const std::wstring name = ListNameOf(line);
    if (IndexOfListName(before, name) < 0) FMergedSkinTexts.push_back(name);
  }
}

const std::vector<std::wstring>& TOxEngine::LanguageList() {
  if (FLanguageListBuilt) return FLanguageList;
  FLanguageListBuilt = true;

  std::vector<std::wstring> files;
  ListFilesByMask(DataFolder(L"Path.Languages") + L"*.lan", &files, false);
  std::vector<std::wstring> names;
  for (const std::wstring& file : files) {
    std::wstring name = ExtractFileTitle(file);
    if (!SameText(name, L"English")) names.push_back(std::move(name));
  }
  std::stable_sort(names.begin(), names.end(), LessText);

  FLanguageList.assign(1, L"English");
  FLanguageList.insert(FLanguageList.end(), names.begin(), names.end());
  return FLanguageList;
}

// --- Skin -----------------------------------------------------------------------

void TOxEngine::RememberBuiltInSkin() { FDefaultSkinForm = FSkinData->SkinnableForm(); }

void TOxEngine::SetSkin(const std::wstring& strName) {
  if (!FSkinData) return;
  const std::wstring name = strName.empty() ? L"Default" : strName;
  if (name == FSkin) return;

  const std::wstring base = DataFolder(L"Path.Skins") + name;
  std::wstring path = base + L".skn";
  bool skinnable_form = true;
  if (!IsFile(path)) {
    path = base + L".nsf.skn";
    skinnable_form = false;
  }
  if (IsFile(path) && FSkinData->LoadSkinFile(path)) {
    FSkinData->SetSkinnableForm(skinnable_form);
    FSkin = name;
  } else {
    if (!FSkin.empty()) {
      FSkinData->UseBuiltInSkin();
      FSkinData->SetSkinnableForm(FDefaultSkinForm);
    }
    FSkin = L"Default";
  }
  // The glow frames draw wrongly on that edition.
  if (IsVista64()) FSkinData->SetGlowFrames(false);

  GetOxSettings().SetSettingstring(L"Skin", FSkin);
  if (!FInLoaded && OnSkinChanged) OnSkinChanged();
}

const std::vector<std::wstring>& TOxEngine::SkinList() {
  if (FSkinListBuilt) return FSkinList;
  FSkinListBuilt = true;

  std::vector<std::wstring> files;
  ListFilesByMask(DataFolder(L"Path.Skins") + L"*.skn", &files, true);
  std::stable_sort(files.begin(), files.end(), LessText);

  FSkinList.assign(1, L"Default");
  for (const std::wstring& file : files) {
    // Blue.skn and Blue.nsf.skn are both the skin Blue.
    std::wstring name = ExtractFileTitle(ExtractFileTitle(file));
    if (!SameText(name, L"Default")) FSkinList.push_back(std::move(name));
  }
  return FSkinList;
}

}  // namespace brimlow
