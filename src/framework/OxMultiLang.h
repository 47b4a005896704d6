#pragma once
// The language component of one window: applies the language data's texts
// to the window and its components, and harvests their present texts back
// into the current language (a template for translators). The window is
// reached through the TranslatableWindow seam. Main thread only.

#include <functional>
#include <string>
#include <vector>

#include "framework/TranslatableWindow.h"

namespace brimlow {

class TOxMultiLangData;

class TOxMultiLang {
 public:
  // The window whose texts this component handles; it must outlive it.
  explicit TOxMultiLang(TranslatableWindow* window);
  // Unregisters from its data.
  ~TOxMultiLang();
  TOxMultiLang(const TOxMultiLang&) = delete;
  TOxMultiLang& operator=(const TOxMultiLang&) = delete;

  TOxMultiLangData* LanguageData() const { return FLanguageData; }
  // Unregisters from the old data and registers with the new one.
  void SetLanguageData(TOxMultiLangData* data);
  // Fired after every application of texts.
  std::function<void()> OnChangeLanguage;

  // After the window has loaded: registers with the data and applies the
  // texts when the data's AutoApply is set.
  void Loaded();
  // Applies the texts to the window and every named component, then fires
  // OnChangeLanguage. Missing keys leave texts as they are.
  void ApplyData();
  void ApplyProp(TranslatableComponent& component);
  // Harvests the window's texts into the current language.
  void UpdateData();
  // Erases the window's section from the current language.
  void ClearData();

  // Forwards to the data; false without data.
  bool GetProp(const std::wstring& strForm, const std::wstring& strComp,
               const std::wstring& strProp, std::wstring* strValue);
  // The current language's "Info"/"Language", or "".
  std::wstring Language();
  // "ResString"/strName, or strName itself when absent.
  std::wstring GetResString(const std::wstring& strName);
  void GetSectionStrings(const std::wstring& strSection, std::vector<std::wstring>* sl);

  // Called by the data when it goes away first.
  void DetachData() { FLanguageData = nullptr; }

 private:
  std::wstring Section() const;
  std::vector<TranslatableComponent*> Targets();
  bool Excluded(const TranslatableComponent& component, const TextProperty& property) const;
  void Harvest(TranslatableComponent& component);

  TranslatableWindow* window_;
  TOxMultiLangData* FLanguageData = nullptr;
};

}  // namespace brimlow
